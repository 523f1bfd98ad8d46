#include "fileaccess/date_placeholder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "fake_automation.h"
#include "support/check_error.h"
#include "support/ole_date.h"

namespace quarnel {
namespace {

OleDate At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  return OleDateFromFields({year, month, day, hour, minute, second});
}

const OleDate kMonday7December2026 = At(2026, 12, 7, 9, 5, 3);

struct ExpandCase {
  const wchar_t* text;
  OleDate now;
  // Nothing when the expansion must fail with an invalid-argument failure.
  std::optional<std::wstring> expected;
};

// Runs the expansion and returns its text, or nothing when it failed with
// an invalid-argument failure (any other failure fails the test).
std::optional<std::wstring> Expand(const std::wstring& text, OleDate now) {
  FixedClock clock(now);
  FakeAutomation automation;
  try {
    return ExpandDatePlaceholder(text, clock, automation);
  } catch (const CheckError& error) {
    EXPECT_EQ(error.number(), static_cast<int>(ErrorNumber::InvalidArgument)) << "for " << testing::PrintToString(text);
    return std::nullopt;
  }
}

void ExpectExpansions(const std::initializer_list<ExpandCase>& cases) {
  for (const ExpandCase& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
    EXPECT_EQ(Expand(c.text, c.now), c.expected);
  }
}

TEST(ExpandDatePlaceholder, WritesTheCurrentDateWithThePicture) {
  const OleDate now = kMonday7December2026;
  ExpectExpansions({
      {L"C:\\logs\\app.log", now, L"C:\\logs\\app.log"},
      {L"", now, L""},
      {L"C:\\logs\\app{yyyymmdd}.log", now, L"C:\\logs\\app20261207.log"},
      {L"{yyyy-mm-dd}", now, L"2026-12-07"},  // no blank before "-": no shift
      {L"\\\\srv\\logs\\{yymm}\\x.log", now, L"\\\\srv\\logs\\2612\\x.log"},
      {L"{ yyyy }", now, L" 2026 "},  // without a shift the picture keeps its blanks
      {L"{dddd d mmmm, hh:nn:ss}", now, L"Monday 7 December, 09:05:03"},
  });
}

TEST(ExpandDatePlaceholder, ShiftsTheDate) {
  const OleDate now = kMonday7December2026;
  ExpectExpansions({
      {L"C:\\logs\\app{yyyymmdd -1d}.log", now, L"C:\\logs\\app20261206.log"},
      {L"{yyyymmdd -1D}", now, L"20261206"},
      {L"{ yyyy-mm-dd   +2d}", now, L"2026-12-09"},  // the picture is trimmed before a shift
      {L"{dd + 2d}", now, L"09"},                    // a blank after the sign
      {L"{dd -03d}", now, L"04"},
      {L"{yyyymmdd hh -1y}", now, L"20261206 09"},
      {L"{yyyymmdd hh +7w}", now, L"20261214 09"},
      {L"{hh:nn:ss -90n}", now, L"07:35:03"},
      {L"{hh:nn:ss +57s}", now, L"09:06:00"},
      {L"{yyyymmdd hh +15h}", now, L"20261208 00"},
      {L"{yyyy-mm-dd -1m}", now, L"2026-11-07"},
      {L"{yyyy-mm-dd +1q}", now, L"2027-03-07"},
      {L"{yyyy-mm-dd -2Q}", now, L"2026-06-07"},
      {L"{yyyy-mm-dd +1q}", At(2026, 8, 31), L"2026-11-30"},
      {L"{yyyymmdd +1m}", At(2026, 1, 31), L"20260228"},
      {L"{yyyymmdd +1m}", At(2028, 1, 31), L"20280229"},
      // " -" starts a shift whose amount reads as 0 and whose unit is the final m.
      {L"{dd - mm}", now, L"07"},
      // " +" wins over an earlier " -": the picture is "hh -1d" (d is the day).
      {L"{hh -1d +2h}", now, L"11 -17"},
      {L"{yyyy -1d +2h}", At(2026, 12, 31, 23, 0, 0), L"2027 -11"},
      {L"{dd -1d +2d}", now, L"09 -19"},
  });
}

TEST(ExpandDatePlaceholder, AppliesFractionalAmounts) {
  const OleDate now = kMonday7December2026;
  ExpectExpansions({
      {L"{yyyy-mm-dd hh:nn -1.5d}", now, L"2026-12-05 21:05"},  // exactly 36 hours
      {L"{hh:nn +0.25h}", now, L"09:20"},
      {L"{yyyy-mm +1.5m}", now, L"2027-02"},  // months round halves to even: 2
      {L"{yyyy-mm +2.5m}", now, L"2027-02"},
      {L"{yyyy-mm +0.5q}", now, L"2026-12"},
  });
}

TEST(ExpandDatePlaceholder, ReplacesOnlyTheFirstPlaceholder) {
  const OleDate now = kMonday7December2026;
  ExpectExpansions({
      {L"{yyyy}\\{mm}\\{dd}.log", now, L"2026\\{mm}\\{dd}.log"},
      {L"{d}{d}", now, L"7{d}"},
  });
  FixedClock clock(now);
  FakeAutomation automation;
  EXPECT_EQ(ExpandDatePlaceholder(ExpandDatePlaceholder(L"{d}{d}", clock, automation), clock, automation), L"77");
}

TEST(ExpandDatePlaceholder, LeavesAPictureThatFormatsToItself) {
  const OleDate now = kMonday7December2026;
  ExpectExpansions({
      {L"C:\\a{x}b.log", now, L"C:\\a{x}b.log"},
      {L"{x}", now, L"{x}"},
      {L"{x -0d}", now, L"x"},  // with a shift the result no longer equals the placeholder
  });
}

TEST(ExpandDatePlaceholder, FollowsTheBraceLayout) {
  const OleDate now = kMonday7December2026;
  ExpectExpansions({
      // No "}": unchanged when the "{" comes first, a failure otherwise.
      {L"{yyyy.log", now, L"{yyyy.log"},
      {L"C:\\logs\\{yyyy.log", now, std::nullopt},
      // The "}" is searched from the start: directly in front of the "{" it
      // leaves the text alone, further in front it fails.
      {L"a}{yyyy", now, L"a}{yyyy"},
      {L"}{yyyy}", now, L"}{yyyy}"},
      {L"a}b{yyyy}", now, std::nullopt},
      {L"}..{yyyy}", now, std::nullopt},
      {L"a{}b", now, std::wstring(L"a") + FakeAutomation().GeneralDateText(now) + L"b"},
  });
}

TEST(ExpandDatePlaceholder, FailsOnAnInvalidShift) {
  const OleDate now = kMonday7December2026;
  ExpectExpansions({
      {L"{yyyy -1}", now, std::nullopt},  // the unit read is the digit 1
      {L"{yyyy -}", now, std::nullopt},
      {L"{yyyy +}", now, std::nullopt},
      {L"{yyyy -1x}", now, std::nullopt},
      {L"{yyyy -1d }", now, std::nullopt},
      // The years 100 to 9999 bound the shifted date.
      {L"{yyyy-mm-dd -23123m}", now, L"100-01-07"},
      {L"{yyyy-mm-dd -23124m}", now, std::nullopt},
      {L"{yyyy-mm-dd +95676m}", now, L"9999-12-07"},
      {L"{yyyy-mm-dd +95677m}", now, std::nullopt},
      {L"{yyyy +3000000d}", now, std::nullopt},
      {L"{yyyy -1e300h}", now, std::nullopt},
      {L"{yyyy -1e999d}", now, std::nullopt},  // beyond a double: still an invalid shift
      {L"{yyyy +1e999x}", now, std::nullopt},
  });
}

TEST(FormatDatePlaceholder, FormatsOnlyATextInBraces) {
  FixedClock clock(kMonday7December2026);
  FakeAutomation automation;
  for (const wchar_t* text : {L"", L"{", L"}", L"yyyy", L"{yyyy", L"yyyy}", L"}yyyy{"}) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(text)));
    EXPECT_EQ(FormatDatePlaceholder(text, clock, automation), text);
  }
  EXPECT_EQ(FormatDatePlaceholder(L"{yyyy}", clock, automation), L"2026");
  EXPECT_EQ(FormatDatePlaceholder(L"{x}", clock, automation), L"x");
}

TEST(FormatDatePlaceholder, ReadsTheClockOncePerCall) {
  FixedClock clock(kMonday7December2026);
  FakeAutomation automation;
  EXPECT_EQ(ExpandDatePlaceholder(L"a{yyyy -1d}b", clock, automation), L"a2026b");
  EXPECT_EQ(clock.reads, 1);
  clock.now = At(2030, 1, 2);
  EXPECT_EQ(ExpandDatePlaceholder(L"a{yyyy}b", clock, automation), L"a2030b");
  EXPECT_EQ(clock.reads, 2);
}

}  // namespace
}  // namespace quarnel
