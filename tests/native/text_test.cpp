#include "support/text.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

TEST(TrimSpaces, RemovesOnlyTheSpaceCharacter) {
  EXPECT_EQ(TrimSpaces(L"  a b  "), L"a b");
  EXPECT_EQ(TrimSpaces(L"\ta\t"), L"\ta\t");
  EXPECT_EQ(TrimSpaces(L" \r\n"), L"\r\n");
  EXPECT_EQ(TrimSpaces(L"    "), L"");
  EXPECT_EQ(TrimSpaces(L"  a  "), L"a");
  EXPECT_EQ(TrimSpaces(L"a  "), L"a");
  EXPECT_EQ(TrimSpaces(L"  a"), L"a");
}

TEST(ReplaceAll, ReplacesLeftToRightWithoutRescanning) {
  EXPECT_EQ(ReplaceAll(L"a#b#", L"#", L"{0x23}"), L"a{0x23}b{0x23}");
  EXPECT_EQ(ReplaceAll(L"aaa", L"aa", L"a"), L"aa");
  EXPECT_EQ(ReplaceAll(L"abc", L"", L"x"), L"abc");
  EXPECT_EQ(ReplaceAll(L"", L"a", L"b"), L"");
}

}  // namespace
}  // namespace quarnel
