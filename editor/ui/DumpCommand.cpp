#include "editor/ui/DumpCommand.h"

#include <cstdio>
#include <iostream>
#include <set>
#include <vector>

#include "common/ImageFormat.h"
#include "common/LittleEndian.h"
#include "editor/screens/GraphElement.h"
#include "platform/Files.h"

namespace kd820 {

namespace {

// Reads an image and walks what it can reach, counting faults instead of trusting offsets.
class ImageWalker {
 public:
  ImageWalker(const std::vector<uint8_t>& a_Image, std::ostream& a_Out) : m_Image(a_Image), m_Out(a_Out) {}

  int Run() {
    if (m_Image.size() < image::kHeaderSize + image::kDirectorySize ||
        std::string(m_Image.begin(), m_Image.begin() + 6) != "Marvok") {
      Fault("not a user-data image (no \"Marvok\" header)");
      return 1;
    }
    m_Out << "format " << U32(8) << ", length " << U32(12) << " (file " << m_Image.size()
          << "), checksum " << Hex(U32(16));
    const uint32_t sum = image::Checksum(m_Image.data(), m_Image.size());
    m_Out << (sum == U32(16) ? " (right)" : " (wrong)") << "\n";
    if (U32(12) != m_Image.size()) Fault("the length field is not the file size");
    if (sum != U32(16)) Fault("the checksum does not match");
    static const char* const kNames[] = {"settings", "ports", "reserved", "frames",
                                         "sampling buffers", "alarms", "transfers"};
    const uint32_t dir = U32(20);
    for (std::size_t k = 0; k < image::kSectionCount; ++k) {
      const uint32_t at = U32(dir + 4 * k);
      m_Out << "section " << k << " " << kNames[k] << ": " << (at == 0 ? std::string("absent") : "at " + std::to_string(at)) << "\n";
      if (at == 0) continue;
      if (!Inside(at, 4)) continue;
      if (k == image::kSettings) Settings(at);
      if (k == image::kPorts || k == image::kSamplingBuffers || k == image::kTransfers) Table(at, k);
      if (k == image::kFrames) Frames(at);
      if (k == image::kAlarms) Alarms(at);
    }
    m_Out << "resources: " << m_Glyphs.size() << " glyphs, " << m_Bitmaps.size() << " bitmaps, "
          << m_Texts.size() << " texts\n";
    m_Out << (m_Faults == 0 ? "image is sound\n" : std::to_string(m_Faults) + " fault(s)\n");
    return m_Faults == 0 ? 0 : 1;
  }

 private:
  uint32_t U32(std::size_t a_At) const {
    return a_At + 4 > m_Image.size() ? 0 : le::U32(m_Image.data() + a_At);
  }
  uint16_t U16(std::size_t a_At) const {
    return a_At + 2 > m_Image.size() ? 0 : le::U16(m_Image.data() + a_At);
  }
  static std::string Hex(uint32_t a_Value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", a_Value);
    return text;
  }
  void Fault(const std::string& a_What) {
    ++m_Faults;
    m_Out << "  FAULT: " << a_What << "\n";
  }
  bool Inside(std::size_t a_At, std::size_t a_Size) {
    if (a_At + a_Size <= m_Image.size()) return true;
    Fault("offset " + std::to_string(a_At) + " (+" + std::to_string(a_Size) + ") lies beyond the image");
    return false;
  }

  void Settings(uint32_t a_At) {
    if (!Inside(a_At, image::kSettingsRecordSize)) return;
    m_Out << "  flags " << Hex(U32(a_At)) << ", start frame " << U16(a_At + 4) << ", control block "
          << U32(a_At + 48) << "\n";
    if (U32(a_At + 48) != 0) Inside(U32(a_At + 48), 4);
  }

  void Table(uint32_t a_At, std::size_t a_Section) {
    const uint32_t n = U32(a_At);
    m_Out << "  " << n << " entries\n";
    if (n > 0xFFFF || !Inside(a_At + 4, 4u * n)) return;
    const std::size_t size = a_Section == image::kPorts ? image::kPortRecordSize
                             : a_Section == image::kTransfers ? image::kTransferRecordSize
                                                              : image::kSamplingEntrySize;
    for (uint32_t i = 0; i < n; ++i) {
      const uint32_t entry = U32(a_At + 4 + 4 * i);
      if (entry != 0) Inside(entry, size);
    }
  }

  void Alarms(uint32_t a_At) {
    if (!Inside(a_At, 12)) return;
    const uint32_t n = U32(a_At);
    m_Out << "  " << n << " alarms, frame " << U16(a_At + 6) << "\n";
    Text(U32(a_At + 8));
    if (n > 0xFFFF || !Inside(a_At + 12, 4u * n)) return;
    for (uint32_t i = 0; i < n; ++i) {
      const uint32_t entry = U32(a_At + 12 + 4 * i);
      if (Inside(entry, 32)) Text(U32(entry + 28));
    }
  }

  void Frames(uint32_t a_At) {
    const uint32_t n = U32(a_At);
    m_Out << "  " << n << " frames\n";
    if (n > 0xFFFF || !Inside(a_At + 4, 4u * n)) return;
    for (uint32_t f = 0; f < n; ++f) {
      const uint32_t frame = U32(a_At + 4 + 4 * f);
      if (!Inside(frame, 20)) continue;
      const uint16_t count = U16(frame + 18);
      m_Out << "  frame " << U16(frame + 8) << ": up " << U16(frame + 12) << ", down "
            << U16(frame + 14) << ", " << count << " elements\n";
      if (!Inside(frame + 20, 6u * count + 2)) continue;
      for (uint16_t i = 0; i < count; ++i) {
        const uint32_t record = U32(frame + 20 + 4 * i);
        const uint16_t type = U16(frame + 20 + 4 * count + 2 * i);
        Element(record, type);
      }
    }
  }

  void Element(uint32_t a_At, uint16_t a_Type) {
    m_Out << "    " << ElementTypePrefix(a_Type) << " at " << a_At;
    if (!Inside(a_At, 12)) return;
    const uint8_t registers = m_Image[a_At + 4];
    const std::size_t maskAt = a_At + 8 + 12u * registers;
    if (!Inside(maskAt, 4)) return;
    const uint32_t mask = U32(maskAt);
    m_Out << ", rect (" << +m_Image[a_At] << "," << +m_Image[a_At + 1] << ")-(" << +m_Image[a_At + 2]
          << "," << +m_Image[a_At + 3] << "), " << +registers << " register(s), resources "
          << Hex(mask);
    std::size_t next = maskAt + 4;
    std::vector<uint32_t> lists;
    for (int bit = 0; bit < 32; ++bit) {
      if ((mask & (1u << bit)) == 0) continue;
      lists.push_back(U32(next));
      next += 4;
    }
    if (a_Type != kTypePicture && Inside(next, 4)) m_Out << ", option " << Hex(U32(next));
    m_Out << "\n";
    for (uint32_t list : lists) List(list, a_Type);
  }

  // A list of texts (text elements) or of images (LED, picture, function key).
  void List(uint32_t a_At, uint16_t a_Type) {
    if (a_At == 0 || !Inside(a_At, 1)) return;
    const uint8_t n = m_Image[a_At];
    if (!Inside(a_At + 1, 4u * n)) return;
    for (uint8_t i = 0; i < n; ++i) {
      const uint32_t item = U32(a_At + 1 + 4 * i);
      if (item == 0) continue;
      if (a_Type == kTypeLed || a_Type == kTypePicture || a_Type == kTypeFunckey) {
        Resource(item);
      } else {
        Text(item);
      }
    }
  }

  void Text(uint32_t a_At) {
    if (a_At == 0 || !Inside(a_At, 5)) return;
    if (m_Image[a_At] != image::kText) {
      Fault("text object at " + std::to_string(a_At) + " has kind " + std::to_string(m_Image[a_At]));
      return;
    }
    m_Texts.insert(a_At);
    const uint32_t sequence = U32(a_At + 1);
    if (sequence == 0 || !Inside(sequence, 1)) return;
    const uint8_t n = m_Image[sequence];
    if (n > image::kMaxTextCharacters) Fault("a text of " + std::to_string(n) + " characters");
    if (!Inside(sequence + 1, 4u * n)) return;
    for (uint8_t i = 0; i < n; ++i) {
      const uint32_t glyph = U32(sequence + 1 + 4 * i);
      if (glyph != 0) Resource(glyph);
    }
  }

  void Resource(uint32_t a_At) {
    if (!Inside(a_At, 3)) return;
    const uint8_t kind = m_Image[a_At];
    if (kind == image::kGlyph) {
      if (Inside(a_At + 3, static_cast<std::size_t>((m_Image[a_At + 1] + 7) / 8) * m_Image[a_At + 2])) m_Glyphs.insert(a_At);
    } else if (kind == image::kBitmap && Inside(a_At, 5)) {
      if (Inside(a_At + 5, static_cast<std::size_t>((U16(a_At + 1) + 7) / 8) * U16(a_At + 3))) m_Bitmaps.insert(a_At);
    } else {
      Fault("resource at " + std::to_string(a_At) + " has kind " + std::to_string(kind));
    }
  }

  const std::vector<uint8_t>& m_Image;
  std::ostream& m_Out;
  int m_Faults = 0;
  std::set<uint32_t> m_Glyphs, m_Bitmaps, m_Texts;
};

}  // namespace

int RunDumpCommand(const std::string& a_Image, std::ostream& a_Out) {
  std::string error;
  const auto bytes = ReadWholeFile(a_Image, error, std::size_t{64} << 20);
  if (!bytes) {
    std::cerr << "KD820: " << error << "\n";
    return 1;
  }
  return ImageWalker(*bytes, a_Out).Run();
}

}  // namespace kd820
