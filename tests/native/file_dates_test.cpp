#include "fileaccess/file_dates.h"

#include <gtest/gtest.h>

#include "fake_machine.h"
#include "support/check_error.h"

namespace quarnel {
namespace {

using fake::FakeFileSystem;
using fake::FakeRegistry;
using fake::RecordingTraceSink;

class FileDates : public ::testing::Test {
 protected:
  FileDates() { fake::LoadDefaultMonthNames(months); }

  // Adds C:\data\<name> created and last written at the given local times.
  void AddFile(const std::wstring& name, std::uint64_t created, std::uint64_t written) {
    files.AddFile(L"C:\\data", name, 0, written, created);
  }

  FakeFileSystem files;
  MonthNameTable months;
  RecordingTraceSink trace;
};

TEST_F(FileDates, DateTextsWriteNumbersWithoutLeadingZeros) {
  struct Case {
    CalendarFields fields;
    const wchar_t* text;
  };
  const Case cases[] = {
      {{2026, 12, 7, 9, 5, 3}, L"7-Dec-2026 9:5:3"},
      {{2027, 1, 1, 0, 0, 0}, L"1-Jan-2027 0:0:0"},
      {{1999, 10, 31, 23, 59, 59}, L"31-Oct-1999 23:59:59"},
      // A failed conversion leaves every field zero; slot 0 is empty.
      {{0, 0, 0, 0, 0, 0}, L"0--0 0:0:0"},
  };
  for (const auto& c : cases) EXPECT_EQ(DateText(months, c.fields), c.text);
}

TEST_F(FileDates, AMonthOutsideTheTableIsOutOfRange) {
  for (int month : {13, -1, 65535}) {
    try {
      DateText(months, CalendarFields{2026, month, 1, 0, 0, 0});
      ADD_FAILURE() << "no error for month " << month;
    } catch (const CheckError& error) {
      EXPECT_EQ(error.number(), static_cast<int>(ErrorNumber::SubscriptOutOfRange));
    }
  }
}

TEST_F(FileDates, ReadsEachTimeOfTheEntryInLocalTime) {
  files.utcOffsetMinutes = 120;
  AddFile(L"app.log", files.LocalFileTime(2026, 3, 4, 5, 6, 7),
          files.LocalFileTime(2027, 1, 1, 0, 0, 0));
  EXPECT_EQ(DateTextOf(months, GetFileCreateDate(files, L"C:\\data\\app.log")), L"4-Mar-2026 5:6:7");
  EXPECT_EQ(DateTextOf(months, GetFileLastWriteDate(files, months, trace, L"C:\\data\\app.log")),
            L"1-Jan-2027 0:0:0");
}

TEST_F(FileDates, APatternReadsTheFirstEntryFound) {
  AddFile(L"first.log", files.LocalFileTime(2020, 2, 2, 2, 2, 2),
          files.LocalFileTime(2021, 3, 3, 3, 3, 3));
  AddFile(L"second.log", files.LocalFileTime(2022, 4, 4, 4, 4, 4),
          files.LocalFileTime(2023, 5, 5, 5, 5, 5));
  EXPECT_EQ(DateTextOf(months, GetFileCreateDate(files, L"C:\\data\\*.log")), L"2-Feb-2020 2:2:2");
  EXPECT_EQ(DateTextOf(months, GetFileLastWriteDate(files, months, trace, L"C:\\data\\*.log")), L"3-Mar-2021 3:3:3");
}

TEST_F(FileDates, FailedConversionsShowTheirZeroValues) {
  const std::uint64_t noLocalTime = files.LocalFileTime(2026, 6, 6, 6, 6, 6);
  const std::uint64_t noFields = files.LocalFileTime(2026, 7, 7, 7, 7, 7);
  files.FailLocalTimeConversion(noLocalTime);
  files.FailCalendarConversion(noFields);
  AddFile(L"a.log", noLocalTime, noFields);
  EXPECT_EQ(DateTextOf(months, GetFileCreateDate(files, L"C:\\data\\a.log")), L"1-Jan-1601 0:0:0");
  EXPECT_EQ(DateTextOf(months, GetFileLastWriteDate(files, months, trace, L"C:\\data\\a.log")), L"0--0 0:0:0");
  EXPECT_EQ(trace.lines.front(), L"Month seen: 0");
}

TEST_F(FileDates, AFailedSearchGivesTheErrorDateText) {
  files.AddDirectory(L"C:\\data");
  files.SetMessage(1234, L"");
  files.FailSearch(L"C:\\data\\silent.log", 1234);
  files.FailSearch(L"C:\\data\\odd.log", 0xC0000005u);
  struct Case {
    const wchar_t* path;
    const wchar_t* text;
  };
  const Case cases[] = {
      {L"C:\\data\\missing.log", L"ERR:The system cannot find the file specified. (2)"},
      {L"C:\\nowhere\\a.log", L"ERR:The system cannot find the path specified. (3)"},
      // Without a message the code follows "ERR:" directly.
      {L"C:\\data\\silent.log", L"ERR: (1234)"},
      // Codes are written as the signed numbers that the system's last
      // error holds.
      {L"C:\\data\\odd.log", L"ERR: (-1073741819)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DateTextOf(months, GetFileCreateDate(files, c.path)), c.text);
    EXPECT_EQ(DateTextOf(months, GetFileLastWriteDate(files, months, trace, c.path)), c.text);
  }
}

TEST_F(FileDates, LastWriteDateTracesTheMonthAndTheResult) {
  AddFile(L"app.log", 0, files.LocalFileTime(2026, 12, 7, 9, 5, 3));
  GetFileLastWriteDate(files, months, trace, L"C:\\data\\app.log");
  GetFileLastWriteDate(files, months, trace, L"C:\\data\\gone.log");
  const std::vector<std::wstring> expected = {
      L"Month seen: 12",
      L"GetFileLastWriteDate - C:\\data\\app.log : 7-Dec-2026 9:5:3",
      // A missing file has no month to show.
      L"GetFileLastWriteDate - C:\\data\\gone.log : "
      L"ERR:The system cannot find the file specified. (2)",
  };
  EXPECT_EQ(trace.lines, expected);
}

TEST_F(FileDates, CreateDateWritesNoTrace) {
  AddFile(L"app.log", files.LocalFileTime(2026, 1, 1, 0, 0, 0), 0);
  GetFileCreateDate(files, L"C:\\data\\app.log");
  GetFileCreateDate(files, L"C:\\data\\gone.log");
  EXPECT_TRUE(trace.lines.empty());
}

TEST_F(FileDates, AnOverriddenMonthNameAppearsInTheDate) {
  FakeRegistry registry;
  registry.Set(L"3", std::wstring(L"Mrz\0", 4));
  months.Load(registry);
  AddFile(L"app.log", files.LocalFileTime(2026, 3, 15, 8, 0, 0),
          files.LocalFileTime(2026, 4, 15, 8, 0, 0));
  EXPECT_EQ(DateTextOf(months, GetFileCreateDate(files, L"C:\\data\\app.log")), L"15-Mrz-2026 8:0:0");
  EXPECT_EQ(DateTextOf(months, GetFileLastWriteDate(files, months, trace, L"C:\\data\\app.log")), L"15-Apr-2026 8:0:0");
}

TEST_F(FileDates, RecordsInHandGiveTheSameTextsWithoutASearch) {
  FindRecord record;
  record.creationTime = files.LocalFileTime(2025, 11, 30, 22, 10, 0);
  record.lastWriteTime = files.LocalFileTime(2026, 2, 28, 1, 2, 3);
  EXPECT_EQ(DateTextOf(months, ListedFileDate(files, record, true)), L"30-Nov-2025 22:10:0");
  const FileDate written = ListedFileDate(files, record, false);
  EXPECT_EQ(DateTextOf(months, written), L"28-Feb-2026 1:2:3");
  TraceLastWriteDate(
      trace, written, [] { return std::wstring(L"C:\\data\\x.log"); },
      [&] { return DateTextOf(months, written); });
  EXPECT_EQ(files.searches, 0);
  const std::vector<std::wstring> expected = {
      L"Month seen: 2", L"GetFileLastWriteDate - C:\\data\\x.log : 28-Feb-2026 1:2:3"};
  EXPECT_EQ(trace.lines, expected);
}

}  // namespace
}  // namespace quarnel
