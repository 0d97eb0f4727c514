#include "platform/Translate.h"

#include <libintl.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include "platform/ProgramDirectory.h"

namespace kd820 {
namespace {

bool g_Bound = false;

// The locale name the environment asks messages in, by POSIX precedence.
std::string RequestedMessageLocale() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return value;
  }
  return {};
}

}  // namespace

void InitTranslation() {
  if (std::setlocale(LC_ALL, "") == nullptr) {
    // The locale is not generated here. gettext ignores the language in the C locale, so
    // take the UTF-8 C locale and name the wanted language through LANGUAGE, which gettext
    // reads first ("en_US.UTF-8" -> "en_US", whose catalogue search falls back to "en").
    std::setlocale(LC_ALL, "C.UTF-8");
    const std::string requested = RequestedMessageLocale();
    const char* language = std::getenv("LANGUAGE");
    if ((language == nullptr || *language == '\0') && !requested.empty() && requested != "C" &&
        requested != "POSIX") {
      const std::string name = requested.substr(0, requested.find_first_of(".@"));
      setenv("LANGUAGE", name.c_str(), 1);
    }
  }
  const std::string dir = (ProgramDirectory() / "lib" / "locale").string();
  bindtextdomain(kTextDomain, dir.c_str());
  bind_textdomain_codeset(kTextDomain, "UTF-8");
  g_Bound = true;
}

const char* Tr(const char* a_Id) {
  if (!g_Bound || a_Id == nullptr || *a_Id == '\0') return a_Id;
  return dgettext(kTextDomain, a_Id);
}

}  // namespace kd820
