#include "support/codepage.h"

#include "support/windows_win32.h"

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

TEST(CodePage, HoldsOnlyTextsThatItTakesUnchanged) {
  if (GetACP() != 1252) GTEST_SKIP() << "the test texts are chosen for code page 1252";
  const struct {
    const wchar_t* text;
    bool held;
  } cases[] = {
      {L"", true},           {L"Pa55 w\u00f6rd #1", true}, {L"\u20ac\u00e9", true},
      {L"x\u0101y", false},   // a best-fit look-alike is no character of the page
      {L"\u03a9x\u4e2d", false}, {L"\xd800", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AnsiCodePageHolds(c.text), c.held) << testing::PrintToString(std::wstring(c.text));
  }
}

}  // namespace
}  // namespace quarnel
