#pragma once
// The project's languages, each with its language identifier and font.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/base/Archive.h"
#include "editor/base/FieldTable.h"
#include "editor/fonts/FontRasterizer.h"

namespace kd820 {

// The language identifier of the system's default language (from the locale).
uint16_t SystemDefaultLanguageId();
// The Windows language identifier of a POSIX locale name such as "de_DE.UTF-8"; Chinese
// (PRC) for "C", "POSIX", an empty name and names it does not know.
uint16_t LanguageIdForLocale(std::string_view a_Locale);
// The locales the catalogue knows, each with its language identifier ("zh_CN" 0x0804, ...).
struct CLocaleLanguage {
  std::string_view m_Name;
  uint16_t m_LanguageId;
};
const std::vector<CLocaleLanguage>& KnownLocaleLanguages();

class CLangDefineItem : public CObject {
  KD_DECLARE_SERIAL(CLangDefineItem)

 public:
  static constexpr int32_t kCurrentVersion = 1;

  CLangDefineItem() = default;
  CLangDefineItem(uint16_t a_LanguageId, std::string a_FontName)
      : m_LanguageId(a_LanguageId), m_FontName(std::move(a_FontName)) {}
  void Serialize(CArchive& a_Ar) override;
  // The import reads these keys through the language dialog's rows (CLanguageRow).
  static const CFieldTable& Fields();

  uint16_t m_LanguageId = 0;
  std::string m_FontName;
};

class CLangDefine : public CObject {
  KD_DECLARE_SERIAL(CLangDefine)

 public:
  static constexpr int32_t kCurrentVersion = 1;
  static constexpr int kMaxLanguages = 8;

  // A new project's list: the system's default language with "Microsoft Sans Serif".
  CLangDefine();
  void Serialize(CArchive& a_Ar) override;

  // Font and language of the index-th language; the system defaults beyond the end.
  std::string GetFontName(std::size_t a_Index) const;
  uint16_t GetLanguageId(std::size_t a_Index) const;

  std::vector<std::unique_ptr<CLangDefineItem>> m_Items;
};

}  // namespace kd820
