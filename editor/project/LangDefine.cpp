#include "editor/project/LangDefine.h"

#include <cstdlib>

#include "editor/base/TextCase.h"

namespace kd820 {

KD_IMPLEMENT_SERIAL(CLangDefine, nullptr, 0)
KD_IMPLEMENT_SERIAL(CLangDefineItem, nullptr, 0)

namespace {

constexpr uint16_t kChinesePrc = 0x0804;

struct LocaleLanguage {
  std::string_view m_Name;  // "ll_TT" or, for the language-only fallback, "ll"
  uint16_t m_LanguageId;
};

constexpr LocaleLanguage kLocaleLanguages[] = {
    {"zh_CN", 0x0804}, {"zh_TW", 0x0404}, {"zh_HK", 0x0C04}, {"zh_SG", 0x1004},
    {"zh_MO", 0x1404}, {"en_US", 0x0409}, {"en_GB", 0x0809}, {"en_AU", 0x0C09},
    {"en_CA", 0x1009}, {"de_DE", 0x0407}, {"de_AT", 0x0C07}, {"de_CH", 0x0807},
    {"fr_FR", 0x040C}, {"fr_BE", 0x080C}, {"fr_CA", 0x0C0C}, {"fr_CH", 0x100C},
    {"ja_JP", 0x0411}, {"ko_KR", 0x0412}, {"ru_RU", 0x0419}, {"es_ES", 0x0C0A},
    {"es_MX", 0x080A}, {"it_IT", 0x0410}, {"pt_BR", 0x0416}, {"pt_PT", 0x0816},
    {"nl_NL", 0x0413}, {"pl_PL", 0x0415}, {"tr_TR", 0x041F}, {"sv_SE", 0x041D},
};

constexpr LocaleLanguage kLanguageFallbacks[] = {
    {"zh", 0x0804}, {"en", 0x0409}, {"de", 0x0407}, {"fr", 0x040C}, {"ja", 0x0411},
    {"ko", 0x0412}, {"ru", 0x0419}, {"es", 0x0C0A}, {"it", 0x0410}, {"pt", 0x0416},
    {"nl", 0x0413}, {"pl", 0x0415}, {"tr", 0x041F}, {"sv", 0x041D},
};

}  // namespace

uint16_t LanguageIdForLocale(std::string_view a_Locale) {
  // "language[_territory][.codeset][@modifier]"; a '-' separator is accepted as well.
  const std::size_t end = a_Locale.find_first_of(".@");
  const std::string_view base = a_Locale.substr(0, end);
  const std::size_t sep = base.find_first_of("_-");
  const std::string language = AsciiLower(std::string(base.substr(0, sep)));
  const std::string territory = AsciiUpper(
      std::string(sep == std::string_view::npos ? std::string_view() : base.substr(sep + 1)));

  if (!territory.empty()) {
    const std::string name = language + "_" + territory;
    for (const LocaleLanguage& entry : kLocaleLanguages) {
      if (entry.m_Name == name) return entry.m_LanguageId;
    }
  }
  for (const LocaleLanguage& entry : kLanguageFallbacks) {
    if (entry.m_Name == language) return entry.m_LanguageId;
  }
  return kChinesePrc;
}

const std::vector<CLocaleLanguage>& KnownLocaleLanguages() {
  static const std::vector<CLocaleLanguage> kKnown = [] {
    std::vector<CLocaleLanguage> known;
    for (const LocaleLanguage& entry : kLocaleLanguages) known.push_back({entry.m_Name, entry.m_LanguageId});
    return known;
  }();
  return kKnown;
}

uint16_t SystemDefaultLanguageId() {
  // The same precedence the C library uses for message texts.
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return LanguageIdForLocale(value);
  }
  return kChinesePrc;
}

const CFieldTable& CLangDefineItem::Fields() {
  static const CField kFields[] = {
      Field<&CLangDefineItem::m_LanguageId>("languageId"),
      Field<&CLangDefineItem::m_FontName>("font"),
  };
  static const CFieldTable kTable{kCurrentVersion, kFields, true};
  return kTable;
}

void CLangDefineItem::Serialize(CArchive& a_Ar) { SerializeFields(a_Ar, Fields(), this); }

CLangDefine::CLangDefine() {
  m_Items.push_back(
      std::make_unique<CLangDefineItem>(SystemDefaultLanguageId(), DefaultFontName()));
}

void CLangDefine::Serialize(CArchive& a_Ar) {
  int32_t version = kCurrentVersion;
  a_Ar.Io(version);
  if (a_Ar.IsLoading()) m_Items.clear();
  a_Ar.IoObjectList(m_Items);
}

std::string CLangDefine::GetFontName(std::size_t a_Index) const {
  return a_Index < m_Items.size() ? m_Items[a_Index]->m_FontName : DefaultFontName();
}

uint16_t CLangDefine::GetLanguageId(std::size_t a_Index) const {
  return a_Index < m_Items.size() ? m_Items[a_Index]->m_LanguageId : SystemDefaultLanguageId();
}

}  // namespace kd820
