#pragma once
// The system clipboard for the editing commands: each format is a MIME type of ours, so that
// elements copied in one editor window paste in another.
#include "editor/project/Clipboard.h"

namespace kd820 {

class CQtClipboard : public IClipboard {
 public:
  // "application/x-kd820-" followed by the format name.
  static std::string MimeType(const std::string& a_Format);
  void SetData(const std::string& a_Format, std::vector<uint8_t> a_Bytes) override;
  bool HasFormat(const std::string& a_Format) const override;
  std::optional<std::vector<uint8_t>> GetData(const std::string& a_Format) const override;
  // Empties the clipboard when it holds one of the editor's formats.
  void Clear() override;
};

}  // namespace kd820
