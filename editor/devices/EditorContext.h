#pragma once
// What the editor core works against besides the project itself: the hardware and PLC
// libraries, the shown project's hardware model and the PLC models of its four ports, the
// rasterizer that measures and draws texts, the marks of the ports whose PLC was changed, and
// the sink problems are reported to. The document owns one; everything that needs one of these
// is handed the context explicitly.
#include <array>
#include <cstdint>
#include <memory>

#include "editor/base/Problem.h"
#include "editor/devices/HardwareLibrary.h"
#include "editor/devices/PlcLibrary.h"
#include "editor/fonts/FontRasterizer.h"

namespace kd820 {

class CEditorContext {
 public:
  static constexpr int kPortCount = 4;  // COM0, COM1, COM2, CAN

  // Libraries and fonts from the program directory, loaded on first use; problems go to
  // a_Problems (standard error by default), which must outlive the context.
  explicit CEditorContext(IProblemSink& a_Problems = StderrProblems());
  // A context for another project: it shares a_Shared's libraries, rasterizer and sink, and
  // starts without models.
  static CEditorContext SharingLibraries(const CEditorContext& a_Shared);

  CEditorContext(CEditorContext&&) noexcept;
  CEditorContext& operator=(CEditorContext&&) noexcept;
  ~CEditorContext();

  // The libraries, built on first use and kept as long as the context (and those sharing
  // them) lives.
  CHardwareLibrary& GetHardwareLibrary();
  const CPlcLibrary& GetPlcLibrary();
  FontRasterizer& Rasterizer();

  // The hardware model of the shown project (none loaded: id -1).
  CHardwareModel& CurrentHardwareModel() { return m_CurrentHardwareModel; }
  const CHardwareModel& CurrentHardwareModel() const { return m_CurrentHardwareModel; }
  // The width of the display of the current hardware model; 192 when none is loaded.
  int32_t DisplayWidth() const;

  // The PLC model of port 0..3; null for other numbers.
  CPLCModel* GetPortModel(int a_Port);
  const CPLCModel* GetPortModel(int a_Port) const;

  // The ports whose PLC the communication settings changed, while their addresses are reset.
  void SetChangedPorts(const std::array<bool, kPortCount>& a_Marks) { m_ChangedPorts = a_Marks; }
  const std::array<bool, kPortCount>& ChangedPorts() const { return m_ChangedPorts; }
  bool IsPortChanged(int32_t a_Port) const;

  IProblemSink& Problems() const;

 private:
  struct Shared;
  explicit CEditorContext(std::shared_ptr<Shared> a_Shared);

  std::shared_ptr<Shared> m_Shared;
  CHardwareModel m_CurrentHardwareModel;
  std::array<CPLCModel, kPortCount> m_PortModels;
  std::array<bool, kPortCount> m_ChangedPorts{};
};

}  // namespace kd820
