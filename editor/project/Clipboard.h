#pragma once
// The clipboard the editing commands copy to and paste from, as the front-end provides it
// (the windowed editor: the system clipboard), and an in-process one.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kd820 {

// The format the canvas's elements are copied under.
inline constexpr const char* kGraphElementFormat = "GraphElement";

class IClipboard {
 public:
  virtual ~IClipboard() = default;
  // Replaces the clipboard's contents by a_Bytes under a_Format.
  virtual void SetData(const std::string& a_Format, std::vector<uint8_t> a_Bytes) = 0;
  virtual bool HasFormat(const std::string& a_Format) const = 0;
  virtual std::optional<std::vector<uint8_t>> GetData(const std::string& a_Format) const = 0;
  virtual void Clear() = 0;
};

// A clipboard inside the program: what it holds lives as long as it does.
class CMemoryClipboard : public IClipboard {
 public:
  void SetData(const std::string& a_Format, std::vector<uint8_t> a_Bytes) override {
    m_Data.clear();
    m_Data[a_Format] = std::move(a_Bytes);
  }
  bool HasFormat(const std::string& a_Format) const override { return m_Data.count(a_Format) != 0; }
  std::optional<std::vector<uint8_t>> GetData(const std::string& a_Format) const override {
    auto it = m_Data.find(a_Format);
    if (it == m_Data.end()) return std::nullopt;
    return it->second;
  }
  void Clear() override { m_Data.clear(); }

 private:
  std::map<std::string, std::vector<uint8_t>> m_Data;
};

}  // namespace kd820
