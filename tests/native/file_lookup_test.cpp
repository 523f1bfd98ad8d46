#include "fileaccess/file_lookup.h"

#include <gtest/gtest.h>

#include "fake_machine.h"
#include "support/check_error.h"

namespace quarnel {
namespace {

using fake::FakeFileSystem;

TEST(SizeFromHalves, CombinesBothHalvesAsUnsignedNumbers) {
  struct Case {
    std::uint32_t high, low;
    double bytes;
  };
  const Case cases[] = {
      {0, 0, 0},
      {0, 1, 1},
      {1, 0, 4294967296.0},
      {0, 3000000000u, 3000000000.0},
      {0, 0xFFFFFFFFu, 4294967295.0},
      {2, 0x80000000u, 10737418240.0},
      // The largest size that the fixed-point amount holds.
      {0x346DC, 0x5D638865u, 922337203685477.0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SizeFromHalves(c.high, c.low), c.bytes) << c.high << ":" << c.low;
  }
}

TEST(SizeFromHalves, SizesBeyondTheFixedPointRangeOverflow) {
  const std::pair<std::uint32_t, std::uint32_t> tooLarge[] = {
      {0x346DC, 0x5D638866u}, {0x346DD, 0}, {0xFFFFFFFFu, 0xFFFFFFFFu}};
  for (const auto& [high, low] : tooLarge) {
    try {
      SizeFromHalves(high, low);
      ADD_FAILURE() << "no overflow for " << high << ":" << low;
    } catch (const CheckError& error) {
      EXPECT_EQ(error.number(), static_cast<int>(ErrorNumber::Overflow));
    }
  }
}

TEST(GetFileLength, MeasuresTheEntryThatThePathNames) {
  FakeFileSystem files;
  files.AddFile(L"C:\\data", L"big.log", 3000000000ull);
  files.AddFile(L"C:\\data", L"empty.log", 0);
  files.AddFile(L"C:\\data", L"huge.log", 4294967296ull);
  files.AddFile(L"C:\\data\\sub", L"inner.log", 77);
  struct Case {
    const wchar_t* path;
    double bytes;
  };
  const Case cases[] = {
      {L"C:\\data\\empty.log", 0},
      {L"C:\\data\\big.log", 3000000000.0},
      {L"C:\\data\\huge.log", 4294967296.0},
      // A directory named without a trailing separator is measured itself.
      {L"C:\\data\\sub", 0},
      // A pattern measures only the first entry that the search returns.
      {L"C:\\data\\*.*", 3000000000.0},
      {L"C:\\data\\E*", 0},
      {L"C:\\data\\h?ge.log", 4294967296.0},
  };
  for (const auto& c : cases) {
    std::wstring errorText = L"left over";
    EXPECT_EQ(GetFileLength(files, c.path, errorText), c.bytes) << c.path;
    EXPECT_EQ(errorText, L"") << c.path;
  }
}

TEST(GetFileLength, AFailedSearchGivesMinusOneAndTheSystemsMessage) {
  FakeFileSystem files;
  files.AddFile(L"C:\\data", L"a.log");
  files.FailSearch(L"\\\\fs01\\logs\\a.log", 53);
  struct Case {
    const wchar_t* path;
    const wchar_t* errorText;
  };
  const Case cases[] = {
      {L"C:\\data\\missing.log", L"The system cannot find the file specified."},
      {L"C:\\nowhere\\a.log", L"The system cannot find the path specified."},
      {L"\\\\fs01\\logs\\a.log", L"The network path was not found."},
      // The path goes to the search as it is: no trimming.
      {L" C:\\data\\a.log", L"The system cannot find the path specified."},
  };
  for (const auto& c : cases) {
    std::wstring errorText;
    EXPECT_EQ(GetFileLength(files, c.path, errorText), -1) << c.path;
    EXPECT_EQ(errorText, c.errorText) << c.path;
  }
}

TEST(GetFileLength, AnOversizedEntryOverflows) {
  FakeFileSystem files;
  files.AddFile(L"C:\\data", L"vast.img", 922337203685478ull);
  std::wstring errorText;
  EXPECT_THROW(GetFileLength(files, L"C:\\data\\vast.img", errorText), CheckError);
}

TEST(FileLengthOf, MeasuresARecordInHand) {
  FindRecord record;
  record.sizeHigh = 1;
  record.sizeLow = 5;
  EXPECT_EQ(FileLengthOf(record), 4294967301.0);
}

TEST(GetSystemErrorText, KeepsTheMessageAsOneLine) {
  struct Case {
    const wchar_t* raw;
    const wchar_t* text;
  };
  const Case cases[] = {
      {L"Access is denied.\r\n", L"Access is denied."},
      // Only one line break goes.
      {L"Two breaks.\r\n\r\n", L"Two breaks.\r\n"},
      // Spaces around the message are trimmed, a space before the break stays.
      {L"  Padded.  ", L"Padded."},
      {L"Spaced. \r\n", L"Spaced. "},
      {L"Trailing spaces.\r\n   ", L"Trailing spaces."},
      // Tabs are no spaces.
      {L"\tTabbed.\t", L"\tTabbed.\t"},
      // A break that is not CR LF stays.
      {L"Unix break.\n", L"Unix break.\n"},
      {L"ab\r\n", L"ab"},
      {L"abc", L"abc"},
      // Two characters or fewer are no message.
      {L"\r\n", L""},
      {L"ab", L""},
      {L" a  ", L""},
      {L"", L""},
  };
  for (const auto& c : cases) {
    FakeFileSystem files;
    files.SetMessage(1000, c.raw);
    EXPECT_EQ(GetSystemErrorText(files, 1000), c.text) << c.raw;
  }
}

TEST(GetSystemErrorText, ACodeWithoutMessageGivesTheEmptyText) {
  FakeFileSystem files;
  EXPECT_EQ(GetSystemErrorText(files, 987654), L"");
  EXPECT_EQ(GetSystemErrorText(files, -1), L"");
}

}  // namespace
}  // namespace quarnel
