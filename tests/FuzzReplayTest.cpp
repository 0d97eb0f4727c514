// Replays the fuzz corpus and the inputs that once found faults.
#include <gtest/gtest.h>

#include "fuzz/FuzzTargets.h"
#include "tests/TestSupport.h"

TEST(FuzzReplay, ProjectLoad) { EXPECT_GT(test::ReplayFuzzInputs("project_load", FuzzProjectLoad), 0u); }
TEST(FuzzReplay, XmlLibrary) { EXPECT_GT(test::ReplayFuzzInputs("xml_library", FuzzXmlLibrary), 0u); }
TEST(FuzzReplay, JsonImport) { EXPECT_GT(test::ReplayFuzzInputs("json_import", FuzzJsonImport), 0u); }
TEST(FuzzReplay, BmpReader) { EXPECT_GT(test::ReplayFuzzInputs("bmp_reader", FuzzBmpReader), 0u); }
TEST(FuzzReplay, ElementClip) { EXPECT_GT(test::ReplayFuzzInputs("element_clip", FuzzElementClip), 0u); }
