#include "support/codepage.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace quarnel {
namespace {

TEST(CodePage, RoundTripsTheCharactersOfTheAnsiCodePage) {
  const std::wstring text = L"Pa55 w\u00f6rd #1";
  if (GetACP() != 1252) GTEST_SKIP() << "the test text is chosen for code page 1252";
  EXPECT_EQ(ToAnsi(text), std::string("Pa55 w\xf6rd #1"));
  EXPECT_EQ(FromAnsi(ToAnsi(text)), text);
}

TEST(CodePage, ACharacterTheCodePageLacksBecomesAQuestionMarkNotALookAlike) {
  // U+0101 (a with macron) has a best-fit "a" in code page 1252.
  if (GetACP() != 1252) GTEST_SKIP() << "the test character is chosen for code page 1252";
  EXPECT_EQ(ToAnsi(L"x\u0101y"), "x?y");
  EXPECT_EQ(ToAnsi(L"\u0436"), "?");
}

}  // namespace
}  // namespace quarnel
