#pragma once
// One compile run: builds the user-data image of a project in one growing buffer, with the
// per-run caches that store each bitmap, glyph and text once.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "editor/compiler/ImageBuffer.h"

class CKV410Project;
class CHMIFrame;
class CTrendGE;

class CImageCompiler {
 public:
  using SamplingEntry = std::array<uint8_t, 24>;

  // Builds the image of a_Project; the reasons when a record cannot be compiled.
  std::vector<std::string> Compile(CKV410Project& a_Project);
  const std::vector<uint8_t>& Image() const { return m_Image.Bytes(); }

  CImageBuffer& Buffer() { return m_Image; }
  CResourceCache& ObjectCache() { return m_ObjectCache; }
  CResourceCache& TextCache() { return m_TextCache; }

  // The sampling-buffer entry of a trend element and its index in the table, built before
  // the frames are written.
  static SamplingEntry SamplingEntryOf(const CTrendGE& a_Trend);
  std::optional<uint16_t> SamplingIndex(const CTrendGE& a_Trend) const;
  const std::vector<SamplingEntry>& SamplingEntries() const { return m_Sampling; }

  // The display size the frame records carry.
  int32_t DisplayWidth() const { return m_DisplayWidth; }
  int32_t DisplayHeight() const { return m_DisplayHeight; }
  void SetDisplaySize(int32_t a_Width, int32_t a_Height) {
    m_DisplayWidth = a_Width;
    m_DisplayHeight = a_Height;
  }

 private:
  void CollectSamplingEntries(const CKV410Project& a_Project);
  void WritePorts(const CKV410Project& a_Project);
  void WriteFrames(CKV410Project& a_Project);
  void WriteFrame(CHMIFrame& a_Frame);
  void WriteSampling();
  void WriteTransfers(CKV410Project& a_Project);

  CImageBuffer m_Image;
  CResourceCache m_ObjectCache;
  CResourceCache m_TextCache;
  std::vector<SamplingEntry> m_Sampling;
  int32_t m_DisplayWidth = 192;
  int32_t m_DisplayHeight = 64;
};
