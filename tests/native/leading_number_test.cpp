#include "params/leading_number.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

#include "support/check_error.h"

namespace quarnel {
namespace {

struct ReadCase {
  std::wstring text;
  double value;
};

void ExpectReads(std::initializer_list<ReadCase> cases) {
  for (const auto& c : cases) {
    EXPECT_EQ(ReadLeadingNumber(c.text), c.value) << testing::PrintToString(c.text);
  }
}

TEST(ReadLeadingNumber, ReadsSignDigitsPointAndExponent) {
  ExpectReads({
      {L"0", 0}, {L"100", 100}, {L"-03", -3}, {L"+7", 7},
      {L".25", 0.25}, {L"-.5", -0.5}, {L"1.", 1}, {L"12.5", 12.5},
      {L"1e3", 1000}, {L"1E3", 1000}, {L"2.5e-2", 0.025}, {L"1e+2", 100},
      {L"0.1", 0.1}, {L"007", 7},
      {L"9007199254740993", 9007199254740992.0},  // rounds to nearest like any decimal reader
      {L"1.7976931348623157e308", DBL_MAX},
      {L"4.9406564584124654e-324", 4.9406564584124654e-324},
  });
}

TEST(ReadLeadingNumber, TakesTheLongestLeadingRunThatFormsANumber) {
  ExpectReads({
      {L"12abc", 12}, {L"1,5", 1}, {L"1.2.3", 1.2}, {L"3-4", 3}, {L"1e3.5", 1000},
      {L"1e", 1}, {L"1e+", 1}, {L"1e-", 1}, {L"1ex", 1}, {L"5e1e1", 50},
      {L"1MB", 1}, {L"1d2", 1}, {L"0x1A", 0},
  });
}

TEST(ReadLeadingNumber, ReadsZeroWhenNoNumberLeads) {
  ExpectReads({
      {L"", 0}, {L"abc", 0}, {L"-", 0}, {L"+", 0}, {L".", 0}, {L"-.", 0},
      {L"e5", 0}, {L".e5", 0}, {L"--1", 0}, {L"+-1", 0}, {L",5", 0},
      {L"\r1", 0}, {L"\u00a01", 0}, {std::wstring(L"\0" L"1", 2), 0},
      {L"\uff11", 0},  // a full-width digit is no digit
  });
  EXPECT_FALSE(std::signbit(ReadLeadingNumber(L"-0")));
  EXPECT_FALSE(std::signbit(ReadLeadingNumber(L"-0.0e5")));
}

TEST(ReadLeadingNumber, SkipsBlanksTabsAndLineFeedsAnywhere) {
  ExpectReads({
      {L"2 5", 25}, {L"+ 2", 2}, {L"- 1", -1}, {L"  42  ", 42}, {L"\t\n1\t0", 10},
      {L"1 . 5", 1.5}, {L"1 e 3", 1000}, {L"1e - 2", 0.01}, {L" - . 5", -0.5},
      {L"1 000 000", 1000000},
  });
}

TEST(ReadLeadingNumber, FailsWithOverflowOnlyForNumbersTooLargeForADouble) {
  for (const std::wstring& text : std::initializer_list<std::wstring>{
           L"1e400", L"-1e400", L"1.8e308", L"0.001e312", L"1" + std::wstring(400, L'0'),
        L"1e99999999999999999999999"}) {
    try {
      ReadLeadingNumber(text);
      ADD_FAILURE() << testing::PrintToString(text) << " read without error";
    } catch (const CheckError& error) {
      EXPECT_EQ(error.number(), static_cast<int>(ErrorNumber::Overflow));
    }
  }
  // Too small for a double reads as zero.
  ExpectReads({
      {L"1e-400", 0}, {L"-1e-400", 0}, {L"1e-99999999999999999999999", 0},
      {L"0e99999", 0}, {L"1" + std::wstring(400, L'0') + L"e-400", 1},
      {L"0." + std::wstring(400, L'0') + L"1e400", 0.1},
  });
}

TEST(ReadLeadingNumber, ReadsAMegabyteOfDigits) {
  const std::wstring digits(1 << 20, L'0');
  EXPECT_EQ(ReadLeadingNumber(digits + L"7"), 7);
  EXPECT_EQ(ReadLeadingNumber(L"." + digits + L"5e1048577"), 5);
  EXPECT_EQ(ReadLeadingNumber(std::wstring(1 << 20, L' ') + L"-8"), -8);
}

}  // namespace
}  // namespace quarnel

namespace quarnel {
namespace {

TEST(TextAfterLeadingNumber, IsWhatTheReaderLeavesUnread) {
  const struct {
    std::wstring text;
    std::wstring unread;
  } cases[] = {
      {L"", L""},           {L"12", L""},        {L"2 5", L""},     {L"1.", L""},
      {L"1,5", L",5"},      {L"12abc", L"abc"},  {L"abc", L"abc"},  {L"-", L"-"},
      {L"1e", L"e"},        {L"1e+", L"e+"},     {L"1e3x", L"x"},   {L"5 ", L" "},
      {L"1.2.3", L".3"},    {L" 7 kb", L" kb"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextAfterLeadingNumber(c.text), c.unread) << testing::PrintToString(c.text);
  }
}

}  // namespace
}  // namespace quarnel
