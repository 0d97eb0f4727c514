#pragma once
// The compile driver: walks a project in the image's fixed order (settings, ports, frames
// with their elements, sampling buffers, data transfers, alarms) and writes the user-data image
// through a resource writer. Compiling reads the project and never changes it.
#include <cstdint>
#include <string>
#include <vector>

#include "editor/compiler/ResourceWriter.h"

namespace kd820 {

class CKV410Project;
class CHMIFrame;

class CImageCompiler {
 public:
  explicit CImageCompiler(CEditorContext& a_Context);

  // Builds the image of a_Project; the reasons when a record cannot be compiled. Warnings go
  // to the context's problem sink as they are found.
  std::vector<std::string> Compile(const CKV410Project& a_Project);
  const std::vector<uint8_t>& Image() const { return m_Resources.Image(); }
  CResourceWriter& Resources() { return m_Resources; }

  // The display size the frame records carry, one byte each (size - 1): at most 256 x 256.
  static constexpr int32_t kMaxDisplaySize = 256;
  int32_t DisplayWidth() const { return m_DisplayWidth; }
  int32_t DisplayHeight() const { return m_DisplayHeight; }
  // False, and the size unchanged, for a display the frame records cannot describe.
  bool SetDisplaySize(int32_t a_Width, int32_t a_Height);

 private:
  void CollectSamplingEntries(const CKV410Project& a_Project);
  void WritePorts(const CKV410Project& a_Project);
  void WriteFrames(const CKV410Project& a_Project);
  void WriteFrame(const CHMIFrame& a_Frame);
  void WriteSampling();
  void WriteTransfers(const CKV410Project& a_Project);

  CResourceWriter m_Resources;
  uint32_t m_LastRecordStart = 0;  // of the element records written
  int32_t m_DisplayWidth = 192;
  int32_t m_DisplayHeight = 64;
};

}  // namespace kd820
