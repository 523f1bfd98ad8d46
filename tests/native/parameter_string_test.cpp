#include "params/parameter_string.h"

#include <gtest/gtest.h>

#include <string>

namespace quarnel {
namespace {

struct LookupCase {
  const wchar_t* parameterString;
  const wchar_t* key;
  const wchar_t* expected;
};

void ExpectLookups(std::initializer_list<LookupCase> cases) {
  for (const auto& c : cases) {
    EXPECT_EQ(GetParameter(c.parameterString, c.key), c.expected)
        << "key '" << testing::PrintToString(std::wstring(c.key)) << "' in '"
        << testing::PrintToString(std::wstring(c.parameterString)) << "'";
  }
}

constexpr const wchar_t* kSizeCheck =
    L"#FILE=\\\\srv\\logs\\app.log#WHT=SIZE#CMP=GT#VAL=100#UNIT=MB#AUTH=F#USR=#PWD=#DBG=F#FNF=F#";

TEST(GetParameter, ReadsEveryKeyOfAWrittenParameterString) {
  ExpectLookups({
      {kSizeCheck, L"FILE", L"\\\\srv\\logs\\app.log"},
      {kSizeCheck, L"WHT", L"SIZE"},
      {kSizeCheck, L"CMP", L"GT"},
      {kSizeCheck, L"VAL", L"100"},
      {kSizeCheck, L"UNIT", L"MB"},
      {kSizeCheck, L"AUTH", L"F"},
      {kSizeCheck, L"USR", L""},
      {kSizeCheck, L"PWD", L""},
      {kSizeCheck, L"DBG", L"F"},
      {kSizeCheck, L"FNF", L"F"},
  });
}

TEST(GetParameter, FindsKeysOnlyBetweenHashAndEquals) {
  ExpectLookups({
      {L"DBG=T#AUTH=T", L"DBG", L""},  // no "#" in front of the first key
      {L"DBG=T#AUTH=T", L"AUTH", L"T"},
      {L"#DBG =T#", L"DBG", L""},      // blank before "="
      {L"#DBG#", L"DBG", L""},         // no "=" at all
      {L"# DBG=T#", L"DBG", L""},      // blank after "#"
      {L"#XDBG=T#DBG=U#", L"DBG", L"U"},  // a longer key that ends alike
      {L"#DBGX=T#DBG=U#", L"DBG", L"U"},  // a longer key that begins alike
      {L"#FILE=a#VAL=1#", L"AL", L""},    // the tail of another key
      {L"", L"DBG", L""},
      {L"#", L"DBG", L""},
      {L"##", L"", L""},
  });
}

TEST(GetParameter, MatchesKeyNamesWithoutRegardToCaseAndTrimsOnlySpaces) {
  ExpectLookups({
      {L"#dbg=T#", L"DBG", L"T"},
      {L"#DBG=T#", L" dbg ", L"T"},
      {L"#DbG=T#", L"dBg", L"T"},
      {L"#DBG=T#", L"\tDBG", L""},  // a tab is not trimmed
      {L"#DBG=T#", L"DBG\t", L""},
      {L"#\u00e9T\u00c9=x#", L"\u00c9t\u00e9", L"x"},  // Latin-1 letters fold too
      {L"#\u0131=x#", L"I", L""},   // dotless i does not fold onto an ASCII letter
      {L"#U\u017fR=x#", L"USR", L""},  // nor does the long s
  });
}

TEST(GetParameter, ReturnsTheValueAsWritten) {
  ExpectLookups({
      {L"#DBG=t#", L"DBG", L"t"},               // letter case kept; readers compare exactly
      {L"#USR= Ad Min #", L"USR", L" Ad Min "},  // blanks kept
      {L"#FILE=C:\\a=b#", L"FILE", L"C:\\a=b"},  // "=" inside a value
      {L"#FILE=#WHT=SIZE#", L"FILE", L""},
      {L"#FILE=#WHT=SIZE#", L"WHT", L"SIZE"},
      {L"#WHT=SIZE", L"WHT", L"SIZE"},           // the last value runs to the end
      {L"#WHT=", L"WHT", L""},
      {L"#VAL=1#VAL=2#", L"VAL", L"1"},          // the first occurrence counts
      {L"#val=1#VAL=2#", L"VAL", L"1"},
      {L"#USR=a#b#PWD=x#", L"USR", L"a"},        // a "#" ends the value early
      {L"#USR=a#b#PWD=x#", L"PWD", L"x"},
      {L"#USR=a#b#PWD=x#", L"B", L""},           // "b" has no "=": no entry
  });
}

TEST(GetParameter, TakesTheEmptyKeyLiterally) {
  // "#" followed directly by "=" names the entry with the empty key.
  ExpectLookups({
      {L"#=x#A=y#", L"", L"x"},
      {L"#=x#A=y#", L"  ", L"x"},
      {L"#A=y#", L"", L""},
  });
}

TEST(GetParameter, AKeyHoldingAHashNamesNoEntry) {
  // A "#" always starts the next entry, so such a key can only be found
  // across two entries; the lookup gives the empty text rather than failing.
  ExpectLookups({
      {L"#A#B=x#", L"A#B", L""},
      {L"#A#=x#", L"A#", L""},
      {L"#=#=x#", L"=#", L""},
      {L"##=x#", L"#", L""},
  });
}

TEST(GetParameter, KeepsEmbeddedNulsAndNonAsciiCharacters) {
  const std::wstring withNul(L"#USR=a\0b#K\0=c#", 14);
  EXPECT_EQ(GetParameter(withNul, L"USR"), std::wstring(L"a\0b", 3));
  EXPECT_EQ(GetParameter(withNul, std::wstring(L"k\0", 2)), L"c");
  EXPECT_EQ(GetParameter(withNul, L"K"), L"");

  const std::wstring path = L"#FILE=C:\\\u65e5\u672c\\\u00fcber \U0001F600.log#WHT=SIZE#";
  EXPECT_EQ(GetParameter(path, L"file"), L"C:\\\u65e5\u672c\\\u00fcber \U0001F600.log");
  EXPECT_EQ(GetParameter(path, L"WHT"), L"SIZE");
}

TEST(GetParameter, HandlesAMegabyteParameterString) {
  const std::size_t megabyte = 1 << 20;
  const std::wstring longValue(megabyte, L'a');
  const std::wstring text = L"#FILE=" + longValue + L"#WHT=SIZE#";
  EXPECT_EQ(GetParameter(text, L"FILE"), longValue);
  EXPECT_EQ(GetParameter(text, L"WHT"), L"SIZE");
  EXPECT_EQ(GetParameter(text, L"CMP"), L"");

  // Many entries, each of which the long key looked up nearly matches.
  std::wstring entries;
  while (entries.size() < megabyte) entries += L"#" + std::wstring(1000, L'K') + L"#";
  const std::wstring nearlyMatchingKey = std::wstring(1000, L'K');
  EXPECT_EQ(GetParameter(entries + L"#" + nearlyMatchingKey + L"=v#", nearlyMatchingKey), L"v");
  EXPECT_EQ(GetParameter(entries, std::wstring(megabyte / 2, L'K')), L"");
}

struct EscapeCase {
  const wchar_t* plain;
  const wchar_t* escapedWithHash;
  const wchar_t* escapedWithoutHash;
};

TEST(EscapeValue, EscapesLineBreaksQuotesAndOptionallyHash) {
  const EscapeCase cases[] = {
      {L"", L"", L""},
      {L"C:\\logs\\a.log", L"C:\\logs\\a.log", L"C:\\logs\\a.log"},
      {L"a\r\nb", L"a{0x0d}{0x0a}b", L"a{0x0d}{0x0a}b"},
      {L"\"x\"", L"{0x22}x{0x22}", L"{0x22}x{0x22}"},
      {L"a#b#", L"a{0x23}b{0x23}", L"a#b#"},
      {L"{x} y\t", L"{x} y\t", L"{x} y\t"},  // braces, blanks and tabs stay
      {L"{0x20}", L"{0x20}", L"{0x20}"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EscapeValue(c.plain, true), c.escapedWithHash) << testing::PrintToString(std::wstring(c.plain));
    EXPECT_EQ(EscapeValue(c.plain, false), c.escapedWithoutHash) << testing::PrintToString(std::wstring(c.plain));
  }
}

TEST(UnescapeValue, ReplacesTheSixSequencesWithExactCase) {
  const struct {
    const wchar_t* escaped;
    const wchar_t* plain;
  } cases[] = {
      {L"a{0xod}b", L"a\rb"},  // letters o and d
      {L"a{0x0d}b", L"a\rb"},
      {L"a{0x0D}b", L"a{0x0D}b"},  // upper-case hex is no sequence
      {L"a{0X0d}b", L"a{0X0d}b"},
      {L"{0x0a}{0x20}{0x22}{0x23}", L"\n \"#"},
      {L"{0x0d{0x0a}}", L"{0x0d\n}"},
      {L"{0x24}{0x}{}", L"{0x24}{0x}{}"},
      {L"", L""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UnescapeValue(c.escaped), c.plain) << testing::PrintToString(std::wstring(c.escaped));
  }
}

TEST(EscapeValue, PathsComeBackFromAWriteAndRead) {
  const std::wstring paths[] = {
      L"\\\\srv\\logs\\app{yyyymmdd}.log",
      L"C:\\odd#name\\\"quoted\"\r\n.log",
      L"C:\\\u65e5\u672c\\{0x}.log",
  };
  for (const auto& path : paths) {
    const std::wstring parameterString = L"#FILE=" + EscapeValue(path, true) + L"#WHT=SIZE#";
    EXPECT_EQ(UnescapeValue(GetParameter(parameterString, L"FILE")), path);
  }
  // "{" is not escaped, so a path that holds a sequence literally changes.
  EXPECT_EQ(UnescapeValue(EscapeValue(L"a{0x20}b", true)), L"a b");
  // Without "#" escaping the path ends at its "#".
  EXPECT_EQ(GetParameter(L"#FILE=" + EscapeValue(L"a#b", false) + L"#", L"FILE"), L"a");
}

}  // namespace
}  // namespace quarnel
