// The compiler's images pass the dump command's checks of length, checksum and offsets.
#include <gtest/gtest.h>

#include <sstream>

#include "editor/compiler/ImageCompiler.h"
#include "editor/devices/EditorContext.h"
#include "editor/ui/DumpCommand.h"
#include "tests/JsonTestSupport.h"
#include "tests/TestSupport.h"

using namespace kd820;

TEST(ImageCompiler, EveryTestProjectGivesAnImageTheInspectorAccepts) {
  setenv("KD820_HOME", KD820_TEST_BINARY_DIR, 1);
  test::TempDir dir;
  std::vector<std::unique_ptr<CKV410Project>> projects;
  projects.push_back(test::Sample());
  projects.push_back(test::LibrarySample());
  projects.push_back(std::make_unique<CKV410Project>());
  for (std::size_t i = 0; i < projects.size(); ++i) {
    SCOPED_TRACE(i);
    CEditorContext context;
    CImageCompiler compiler(context);
    EXPECT_TRUE(compiler.Compile(*projects[i]).empty());
    const std::string path = dir.File("p" + std::to_string(i) + ".bin~");
    test::WriteFile(path, compiler.Image());
    std::ostringstream out;
    EXPECT_EQ(RunDumpCommand(path, out), 0) << out.str();
  }
}
