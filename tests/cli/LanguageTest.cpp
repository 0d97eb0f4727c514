// The language of the programs' texts: the Chinese texts under the C locale, the English
// catalogue where the locale asks for English and the catalogue is installed, and Chinese again
// where it is not.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>

#include "editor/base/Archive.h"
#include "editor/project/KV410Project.h"
#include "editor/ui/JsonCommands.h"
#include "tests/JsonTestSupport.h"
#include "tests/LibraryFixture.h"
#include "tests/TestSupport.h"

using namespace kd820;

namespace {

const std::string kKD820 = std::string(KD820_TEST_BINARY_DIR) + "/KD820";

// Sets environment variables for the programs a test starts and restores them afterwards.
class ScopedEnvironment {
 public:
  explicit ScopedEnvironment(const std::map<std::string, std::optional<std::string>>& a_Values) {
    for (const auto& [name, value] : a_Values) {
      const char* old = std::getenv(name.c_str());
      m_Saved[name] = old != nullptr ? std::optional<std::string>(old) : std::nullopt;
      Set(name, value);
    }
  }
  ~ScopedEnvironment() {
    for (const auto& [name, value] : m_Saved) Set(name, value);
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  static void Set(const std::string& a_Name, const std::optional<std::string>& a_Value) {
    if (a_Value) {
      setenv(a_Name.c_str(), a_Value->c_str(), 1);
    } else {
      unsetenv(a_Name.c_str());
    }
  }
  std::map<std::string, std::optional<std::string>> m_Saved;
};

// The locales a test runs KD820 under, with the build tree's data (its lib/ holds the compiled
// catalogue). en_US.UTF-8 is not generated on a bare machine: the program must still choose
// the English catalogue for it.
const std::string kHome = KD820_TEST_BINARY_DIR;
const std::map<std::string, std::optional<std::string>> kCLocale = {
    {"KD820_HOME", kHome}, {"LC_ALL", "C"}, {"LC_MESSAGES", std::nullopt}, {"LANG", std::nullopt}, {"LANGUAGE", std::nullopt}};
const std::map<std::string, std::optional<std::string>> kEnglishLang = {
    {"KD820_HOME", kHome}, {"LC_ALL", std::nullopt}, {"LC_MESSAGES", std::nullopt}, {"LANG", "en_US.UTF-8"}, {"LANGUAGE", std::nullopt}};
const std::map<std::string, std::optional<std::string>> kEnglishLanguage = {
    {"KD820_HOME", kHome}, {"LC_ALL", "C.UTF-8"}, {"LC_MESSAGES", std::nullopt}, {"LANG", std::nullopt}, {"LANGUAGE", "en"}};

class Language : public ::testing::Test {
 protected:
  void SetUp() override { setenv("KD820_LOCK_DIR", m_Dir.File("locks").c_str(), 1); }
  void TearDown() override { unsetenv("KD820_LOCK_DIR"); }

  // KD820's standard error for a_Args under the locale a_Locale.
  std::string Errors(const std::map<std::string, std::optional<std::string>>& a_Locale,
                     const std::vector<std::string>& a_Args, int a_ExpectedStatus = 1) {
    ScopedEnvironment env(a_Locale);
    std::string out, err;
    EXPECT_EQ(test::RunProgram(kKD820, a_Args, &out, &err), a_ExpectedStatus) << out << err;
    return out + err;
  }

  std::string DamagedProject() {
    const std::string path = m_Dir.File("damaged.FPJ");
    test::WriteFile(path, {'n', 'o', 't', ' ', 'a', ' ', 'p', 'r', 'o', 'j', 'e', 'c', 't'});
    return path;
  }

  // A project file written by a version of the editor newer than this one can read.
  std::string NewerProject() {
    CKV410Project project;
    CArchive ar;
    ar.WriteObjectHeader(&project);
    int32_t version = 99, oldestReader = 99;
    ar.Io(version);
    ar.Io(oldestReader);
    const std::string path = m_Dir.File("newer.FPJ");
    test::WriteFile(path, ar.Bytes());
    return path;
  }

  test::ShippedLibrary m_Library;
  test::TempDir m_Dir;
};

bool Has(const std::string& a_Text, const std::string& a_Part) { return a_Text.find(a_Part) != std::string::npos; }

}  // namespace

TEST_F(Language, ADamagedProjectIsReportedInTheLocalesLanguage) {
  const std::string path = DamagedProject();
  const std::string chinese = Errors(kCLocale, {"info", path});
  EXPECT_TRUE(Has(chinese, "打开工程失败")) << chinese;

  for (const auto* locale : {&kEnglishLang, &kEnglishLanguage}) {
    const std::string english = Errors(*locale, {"info", path});
    EXPECT_TRUE(Has(english, "Failed to open the project")) << english;
    EXPECT_FALSE(Has(english, "打开工程失败")) << english;
  }
}

TEST_F(Language, TheCLocaleIgnoresALanguageList) {
  auto locale = kCLocale;
  locale["LANGUAGE"] = "en";
  EXPECT_TRUE(Has(Errors(locale, {"info", DamagedProject()}), "打开工程失败"));
}

TEST_F(Language, ANewerProjectIsReportedInTheLocalesLanguage) {
  const std::string path = NewerProject();
  EXPECT_TRUE(Has(Errors(kCLocale, {"info", path}), "此工程是由新版本软件创建的，请使用新版本软件"));
  EXPECT_TRUE(Has(Errors(kEnglishLang, {"info", path}), "This project was created by a newer version"));
}

TEST_F(Language, ARefusedImportIsReportedInTheLocalesLanguage) {
  const std::string json = m_Dir.File("plant.json");
  const std::string project = m_Dir.File("plant.FPJ");
  test::WriteFile(project, test::StoreProject(*test::Sample()));
  ASSERT_EQ(RunExportCommand(project, json), 0);
  const auto bytes = test::ReadFile(json);
  std::string text(bytes.begin(), bytes.end());
  text.replace(text.find("\"电机过热\""), std::string("\"电机过热\"").size(), "\"\"");
  test::WriteFile(json, std::vector<uint8_t>(text.begin(), text.end()));

  const std::string target = m_Dir.File("target.FPJ");
  EXPECT_TRUE(Has(Errors(kCLocale, {"import", json, "-o", target}), "alarms.items[0].text: 信息输入不能为空"));
  EXPECT_TRUE(Has(Errors(kEnglishLang, {"import", json, "-o", target}),
                  "alarms.items[0].text: The message text must not be empty"));
  EXPECT_FALSE(std::filesystem::exists(target));
}

TEST_F(Language, TheWizardsQuestionIsAskedInTheLocalesLanguage) {
  // Without --yes the model question is asked on the terminal; standard input is empty, so
  // the answer is no and nothing is created.
  const std::vector<std::string> args = {"new", "plant", "--dir", m_Dir.Path().string(), "--com0", "11"};
  EXPECT_TRUE(Has(Errors(kCLocale, args), "工程创建后，文本显示器型号将不能被修改，确认创建工程？"));
  EXPECT_TRUE(Has(Errors(kEnglishLang, args), "The text display model cannot be changed once the project is created"));
  EXPECT_FALSE(std::filesystem::exists(m_Dir.File("plant/plant.FPJ")));
}

TEST_F(Language, WithoutTheCatalogueInstalledAnEnglishLocaleKeepsChinese) {
  // A data directory with the libraries but no lib/locale.
  test::TempDir home;
  std::filesystem::create_directories(home.Path() / "lib");
  auto locale = kEnglishLang;
  locale["KD820_HOME"] = home.Path().string();
  const std::string text = Errors(locale, {"info", DamagedProject()});
  EXPECT_TRUE(Has(text, "打开工程失败")) << text;
}
