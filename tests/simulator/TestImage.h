#pragma once
// Builds small user-data images byte by byte for the simulator's tests: a settings record,
// frames whose static texts are solid blocks (so a test can tell from the LCD which frame and
// which element is shown), an optional alarm section and a control block.
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "simulator/Geometry.h"
#include "simulator/Host.h"

namespace simtest {

struct Block {
  sim::Rect rect;      // where the element lies; its glyph fills it
  bool inFocus = false;  // listed in the frame's focus order
  // With a state word: register 0 is internal word stateWord, and the text list has two
  // entries: state 0 the solid block, state 1 its left half only.
  int stateWord = -1;
};

// A function key with no text, bound to panel key `key`: its action writes register 1, the
// internal word `word`.
struct Key {
  sim::Rect rect;
  int key = 0;
  int action = 0;
  uint16_t word = 0;
};

struct Frame {
  uint16_t number = 1;
  uint16_t previous = 0;
  uint16_t next = 0;
  std::vector<Block> blocks;
  std::vector<Key> keys = {};  // listed after the blocks
};

struct Settings {
  uint32_t flags = 0;
  uint16_t startFrame = 1;
  uint16_t saverFrame = 0;
  uint16_t saverMinutes = 0;
  uint8_t saverLevel = 0;
  uint16_t passwordMask = 0;
  uint32_t passwords[8] = {};
  uint16_t passwordFrame = 0;
  // Control registers: frame request at word requestWord, current frame at currentWord
  // (requestWord + 1 when not given), both only when control is set. Internal words, or
  // retentive words with retentiveControl.
  bool control = false;
  uint16_t requestWord = 0;
  std::optional<uint16_t> currentWord;
  bool retentiveControl = false;
};

class TestImage {
 public:
  Settings settings;
  std::vector<Frame> frames;  // ascending numbers
  uint16_t alarmFrame = 0;    // 0 = no alarm section

  std::vector<uint8_t> Build() const {
    std::vector<uint8_t> b(24 + 28, 0);
    std::memcpy(b.data(), "Marvok", 6);
    Put32(b, 8, 1);
    Put32(b, 20, 24);
    // Settings.
    Align(b);
    Put32(b, 24, static_cast<uint32_t>(b.size()));
    std::size_t s = b.size();
    b.resize(s + 56, 0);
    Put32(b, s, settings.flags);
    Put16(b, s + 4, settings.startFrame);
    Put16(b, s + 6, settings.saverFrame);
    Put16(b, s + 8, settings.saverMinutes);
    b[s + 10] = settings.saverLevel;
    Put16(b, s + 12, settings.passwordMask);
    for (int i = 0; i < 8; ++i) Put32(b, s + 16 + 4 * i, settings.passwords[i]);
    Put16(b, s + 52, settings.passwordFrame);
    if (settings.control) {
      Put32(b, s + 48, static_cast<uint32_t>(b.size()));
      Append(b, {2, 0, 3, 0});
      const uint16_t current =
          settings.currentWord.value_or(static_cast<uint16_t>(settings.requestWord + 1));
      for (uint16_t word : {settings.requestWord, current})
        Descriptor(b, word, settings.retentiveControl ? kRetentiveWords : kInternalWords);
    }
    // Frame table.
    Align(b);
    Put32(b, 24 + 12, static_cast<uint32_t>(b.size()));
    std::size_t table = b.size();
    Append32(b, static_cast<uint32_t>(frames.size()));
    b.resize(b.size() + 4 * frames.size(), 0);
    for (std::size_t f = 0; f < frames.size(); ++f) {
      const Frame& frame = frames[f];
      Put32(b, table + 4 + 4 * f, static_cast<uint32_t>(b.size()));
      std::size_t h = b.size();
      const std::size_t blocks = frame.blocks.size();
      const std::size_t n = blocks + frame.keys.size();
      b.resize(h + 20 + 6 * n, 0);
      b[h] = 4;
      b[h + 6] = 191;
      b[h + 7] = 63;
      Put16(b, h + 8, frame.number);
      Put16(b, h + 12, frame.previous);
      Put16(b, h + 14, frame.next);
      Put16(b, h + 18, static_cast<uint16_t>(n));
      for (std::size_t i = 0; i < n; ++i) Put16(b, h + 20 + 4 * n + 2 * i, i < blocks ? 2 : 1);
      for (std::size_t i = 0; i < blocks; ++i)
        if (frame.blocks[i].inFocus) Append16(b, static_cast<uint16_t>(i));
      Append16(b, 0xFFFF);
      for (std::size_t i = 0; i < n; ++i) {
        Align(b);
        Put32(b, h + 20 + 4 * i, static_cast<uint32_t>(b.size()));
        if (i < blocks)
          StaticText(b, frame.blocks[i]);
        else
          FunctionKey(b, frame.keys[i - blocks]);
      }
    }
    if (alarmFrame != 0) {
      Align(b);
      Put32(b, 24 + 20, static_cast<uint32_t>(b.size()));
      Append32(b, 0);
      Append16(b, 0x8000);
      Append16(b, alarmFrame);
      Append32(b, 0);
    }
    Put32(b, 12, static_cast<uint32_t>(b.size()));
    return b;
  }

 private:
  static void Put16(std::vector<uint8_t>& b, std::size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
  }
  static void Put32(std::vector<uint8_t>& b, std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
  }
  static void Append(std::vector<uint8_t>& b, std::initializer_list<uint8_t> bytes) {
    b.insert(b.end(), bytes);
  }
  static void Append16(std::vector<uint8_t>& b, uint16_t v) {
    b.resize(b.size() + 2);
    Put16(b, b.size() - 2, v);
  }
  static void Append32(std::vector<uint8_t>& b, uint32_t v) {
    b.resize(b.size() + 4);
    Put32(b, b.size() - 4, v);
  }
  static void Align(std::vector<uint8_t>& b) {
    while (b.size() % 4) b.push_back(0);
  }
  static constexpr uint8_t kInternalWords = 255;
  static constexpr uint8_t kRetentiveWords = 254;
  // A word register a_Word of the panel: 3 units long, flags 0, port 255, station 0,
  // a_Type (internal or retentive words), unit 0x22, count 1, address.
  static void Descriptor(std::vector<uint8_t>& b, uint16_t a_Word,
                         uint8_t a_Type = kInternalWords) {
    Append(b, {3, 0, 255, 0, a_Type, 0x22});
    Append16(b, 1);
    Append32(b, a_Word);
  }
  // A static text whose glyph is a solid block of the element's size.
  static void StaticText(std::vector<uint8_t>& b, const Block& a_Block) {
    const sim::Rect& r = a_Block.rect;
    bool stated = a_Block.stateWord >= 0;
    Append(b, {static_cast<uint8_t>(r.left), static_cast<uint8_t>(r.top),
               static_cast<uint8_t>(r.right), static_cast<uint8_t>(r.bottom),
               static_cast<uint8_t>(stated ? 1 : 0), 0, static_cast<uint8_t>(stated ? 1 : 0), 0});
    if (stated) Descriptor(b, static_cast<uint16_t>(a_Block.stateWord));
    Append32(b, 4);
    std::size_t slot = b.size();
    Append32(b, 0);
    Append32(b, 0x0001);
    // List object -> text objects -> sequences -> glyphs.
    Put32(b, slot, static_cast<uint32_t>(b.size()));
    int entries = stated ? 2 : 1;
    std::size_t list = b.size();
    Append(b, {static_cast<uint8_t>(entries)});
    b.resize(b.size() + 4 * entries, 0);
    for (int e = 0; e < entries; ++e) {
      Put32(b, list + 1 + 4 * e, static_cast<uint32_t>(b.size()));
      Append(b, {6});
      Append32(b, static_cast<uint32_t>(b.size() + 4));
      Append(b, {1});
      Append32(b, static_cast<uint32_t>(b.size() + 4));
      Glyph(b, e == 0 ? r.Width() : r.Width() / 2, r.Height());
    }
  }
  // Its register in slot 1, no resource tables, an action record of one unit, no permission.
  static void FunctionKey(std::vector<uint8_t>& b, const Key& a_Key) {
    const sim::Rect& r = a_Key.rect;
    Append(b, {static_cast<uint8_t>(r.left), static_cast<uint8_t>(r.top),
               static_cast<uint8_t>(r.right), static_cast<uint8_t>(r.bottom), 1, 0, 2, 0});
    Descriptor(b, a_Key.word);
    Append32(b, 0);
    Append32(b, 1u | static_cast<uint32_t>(a_Key.action) << 8 | static_cast<uint32_t>(a_Key.key) << 16);
    Append32(b, 0);
  }
  static void Glyph(std::vector<uint8_t>& b, int w, int h) {
    int stride = (w + 7) / 8;
    Append(b, {7, static_cast<uint8_t>(w), static_cast<uint8_t>(h)});
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < stride; ++x) {
        int bits = std::min(8, w - 8 * x);
        b.push_back(static_cast<uint8_t>((1u << bits) - 1));
      }
  }
};

// A host whose clock stands still and which counts beeps.
class TestHost : public sim::IHost {
 public:
  sim::HostTime Now() override { return {2026, 3, 1, 12, 0, 0}; }
  void Beep(int, int) override { ++beeps; }
  int beeps = 0;
};

}  // namespace simtest
