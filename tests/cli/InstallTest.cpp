// cmake --install puts the programs, their data and the desktop integration where a desktop
// finds them: the entry opens .FPJ files in KD820, the MIME type names them, the icon exists.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/TestSupport.h"

namespace {

namespace fs = std::filesystem;

std::string Text(const fs::path& a_Path) {
  std::ifstream in(a_Path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(Install, PlacesProgramsDataAndTheDesktopEntry) {
  test::TempDir dir;
  const fs::path prefix = dir.Path() / "prefix";
  const std::string command = "cmake --install \"" + std::string(KD820_TEST_BINARY_DIR) +
                              "\" --prefix \"" + prefix.string() + "\" > \"" +
                              dir.File("log") + "\" 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << Text(dir.File("log"));
  for (const char* program : {"KD820", "PanSim"}) {
    const fs::path path = prefix / "bin" / program;
    EXPECT_TRUE(fs::exists(path)) << path;
    EXPECT_NE(fs::status(path).permissions() & fs::perms::owner_exec, fs::perms::none) << path;
  }
  const fs::path share = prefix / "share";
  EXPECT_TRUE(fs::exists(share / "kd820" / "lib" / "hardware" / "pv5521.CFG"));
  EXPECT_TRUE(fs::exists(share / "kd820" / "lib" / "plc" / "index.CFG"));
  EXPECT_TRUE(fs::exists(share / "kd820" / "version.txt"));

  const std::string entry = Text(share / "applications" / "kd820.desktop");
  EXPECT_NE(entry.find("\nExec=KD820 %f\n"), std::string::npos) << entry;
  EXPECT_NE(entry.find("\nIcon=kd820\n"), std::string::npos);
  EXPECT_NE(entry.find("\nMimeType=application/x-kd820-project;\n"), std::string::npos);
  const std::string mime = Text(share / "mime" / "packages" / "kd820-project.xml");
  EXPECT_NE(mime.find("type=\"application/x-kd820-project\""), std::string::npos);
  EXPECT_NE(mime.find("pattern=\"*.FPJ\""), std::string::npos);
  EXPECT_TRUE(fs::exists(share / "icons" / "hicolor" / "scalable" / "apps" / "kd820.svg"));
  EXPECT_TRUE(fs::exists(share / "icons" / "hicolor" / "256x256" / "apps" / "kd820.png"));
}

}  // namespace
