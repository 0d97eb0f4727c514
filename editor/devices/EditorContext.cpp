#include "editor/devices/EditorContext.h"

#include <optional>

#include "platform/ProgramDirectory.h"

namespace kd820 {

struct CEditorContext::Shared {
  explicit Shared(IProblemSink& a_Problems) : m_Problems(a_Problems) {}
  IProblemSink& m_Problems;
  std::optional<CHardwareLibrary> m_HardwareLibrary;
  std::optional<CPlcLibrary> m_PlcLibrary;
  std::unique_ptr<FontRasterizer> m_Rasterizer;
};

CEditorContext::CEditorContext(IProblemSink& a_Problems)
    : m_Shared(std::make_shared<Shared>(a_Problems)) {}

CEditorContext::CEditorContext(std::shared_ptr<Shared> a_Shared) : m_Shared(std::move(a_Shared)) {}

CEditorContext CEditorContext::SharingLibraries(const CEditorContext& a_Shared) {
  return CEditorContext(a_Shared.m_Shared);
}

CEditorContext::CEditorContext(CEditorContext&&) noexcept = default;
CEditorContext& CEditorContext::operator=(CEditorContext&&) noexcept = default;
CEditorContext::~CEditorContext() = default;

CHardwareLibrary& CEditorContext::GetHardwareLibrary() {
  if (!m_Shared->m_HardwareLibrary) m_Shared->m_HardwareLibrary.emplace(m_Shared->m_Problems);
  return *m_Shared->m_HardwareLibrary;
}

const CPlcLibrary& CEditorContext::GetPlcLibrary() {
  if (!m_Shared->m_PlcLibrary) {
    m_Shared->m_PlcLibrary.emplace(m_Shared->m_Problems);
    m_Shared->m_PlcLibrary->Build();
  }
  return *m_Shared->m_PlcLibrary;
}

FontRasterizer& CEditorContext::Rasterizer() {
  if (!m_Shared->m_Rasterizer) {
    m_Shared->m_Rasterizer = std::make_unique<FontRasterizer>(
        ProgramDirectory() / "lib" / "fonts" / "fonts.conf", m_Shared->m_Problems);
  }
  return *m_Shared->m_Rasterizer;
}

int32_t CEditorContext::DisplayWidth() const {
  const int32_t width = m_CurrentHardwareModel.m_ResolutionX;
  return width > 0 ? width : 192;
}

CPLCModel* CEditorContext::GetPortModel(int a_Port) {
  if (a_Port < 0 || a_Port >= kPortCount) return nullptr;
  return &m_PortModels[static_cast<std::size_t>(a_Port)];
}

const CPLCModel* CEditorContext::GetPortModel(int a_Port) const {
  return const_cast<CEditorContext*>(this)->GetPortModel(a_Port);
}

bool CEditorContext::IsPortChanged(int32_t a_Port) const {
  return a_Port >= 0 && a_Port < kPortCount && m_ChangedPorts[static_cast<std::size_t>(a_Port)];
}

IProblemSink& CEditorContext::Problems() const { return m_Shared->m_Problems; }

}  // namespace kd820
