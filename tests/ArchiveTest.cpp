#include <gtest/gtest.h>
#include "editor/project/Archive.h"
TEST(Archive, Placeholder) { CArchive ar; ar.WriteU8(1); EXPECT_EQ(ar.Bytes().size(), 1u); }
