// The file lookups and date texts on real files that the test makes in a
// directory of its own under the temporary directory.

#include "support/windows_win32.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>

#include "fileaccess/file_dates.h"
#include "fileaccess/file_lookup.h"
#include "fileaccess/file_system_win32.h"
#include "support/unique_any_win32.h"
#include "system_message.h"
#include "test_files.h"
#include "tests/native/fake_machine.h"

namespace quarnel {
namespace {

// The value that the next kernel handle of the process gets. The system
// hands out the lowest free slot, so a handle left open by a search shows
// up as a different value.
HANDLE NextHandleValue() {
  const HANDLE probe = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  CloseHandle(probe);
  return probe;
}

bool IsDateText(const std::wstring& text) {
  static const std::wregex date(L"[0-9]+-[A-Za-z]+-[0-9]+ [0-9]+:[0-9]+:[0-9]+");
  return std::regex_match(text, date);
}

class FileAccess : public ::testing::Test {
 protected:
  void SetUp() override { fake::LoadDefaultMonthNames(months_); }

  void SetLastWriteTime(const std::wstring& path, const SYSTEMTIME& local) {
    FILETIME localTime, utc;
    ASSERT_TRUE(SystemTimeToFileTime(&local, &localTime));
    ASSERT_TRUE(LocalFileTimeToFileTime(&localTime, &utc));
    const unique_hfile file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    ASSERT_TRUE(SetFileTime(file.get(), nullptr, nullptr, &utc));
  }

  double Length(const std::wstring& path) { return GetFileLength(files_, path, errorText_); }

  const TestDirectory directory_{L"files"};
  SystemFileSystem files_;
  MonthNameTable months_;
  fake::RecordingTraceSink trace_;
  std::wstring errorText_ = L"left over";
};

TEST_F(FileAccess, MeasuresFilesOfEverySize) {
  struct Case {
    const wchar_t* name;
    LONGLONG size;
  };
  const Case cases[] = {
      {L"empty.log", 0}, {L"small.log", 123}, {L"low-half.log", 3000000000LL},
      {L"high-half.log", 4294967296LL}};
  for (const auto& c : cases) {
    const std::wstring path = directory_.MakeFile(c.name, c.size);
    EXPECT_EQ(Length(path), static_cast<double>(c.size)) << c.name;
    EXPECT_EQ(errorText_, L"") << c.name;
  }
}

TEST_F(FileAccess, MeasuresADirectoryNamedWithoutSeparator) {
  ASSERT_TRUE(CreateDirectoryW(directory_.PathOf(L"sub").c_str(), nullptr));
  EXPECT_GE(Length(directory_.PathOf(L"sub")), 0);
  EXPECT_EQ(errorText_, L"");
}

TEST_F(FileAccess, APatternMeasuresOnlyItsFirstEntry) {
  directory_.MakeFile(L"a.bin", 10);
  directory_.MakeFile(L"b.bin", 20);
  const double measured = Length(directory_.PathOf(L"*.bin"));
  EXPECT_TRUE(measured == 10 || measured == 20) << measured;
  EXPECT_EQ(errorText_, L"");
}

TEST_F(FileAccess, AMissingEntryGivesMinusOneAndTheSystemsMessage) {
  EXPECT_EQ(Length(directory_.PathOf(L"missing.log")), -1);
  EXPECT_EQ(errorText_, SystemMessageLine(ERROR_FILE_NOT_FOUND));
  EXPECT_NE(errorText_, L"");
  EXPECT_EQ(Length(directory_.PathOf(L"nowhere\\missing.log")), -1);
  EXPECT_EQ(errorText_, SystemMessageLine(ERROR_PATH_NOT_FOUND));
}

TEST_F(FileAccess, SystemErrorTextsDropTheirLineBreak) {
  EXPECT_EQ(GetSystemErrorText(files_, ERROR_ACCESS_DENIED), SystemMessageLine(ERROR_ACCESS_DENIED));
  EXPECT_EQ(GetSystemErrorText(files_, 0x3FFFFFFF), L"");
}

TEST_F(FileAccess, NamesOutsideTheAnsiCodePageAreFoundAsThemselves) {
  directory_.MakeFile(L"caf\u00e9.txt", 5);
  directory_.MakeFile(L"a\u0444b.dat", 3);
  directory_.MakeFile(L"a\u0436c.dat", 9);
  EXPECT_EQ(Length(directory_.PathOf(L"caf\u00e9.txt")), 5);
  EXPECT_EQ(Length(directory_.PathOf(L"a\u0436c.dat")), 9);
  // "ж" is no wildcard: it does not stand for the "ф" of the sibling.
  EXPECT_EQ(Length(directory_.PathOf(L"a\u0436b.dat")), -1);
  EXPECT_EQ(errorText_, SystemMessageLine(ERROR_FILE_NOT_FOUND));

  EXPECT_EQ(files_.FindFirst(directory_.PathOf(L"a\u0436*")).record.name, L"a\u0436c.dat");
  std::set<std::wstring> listed;
  files_.List(directory_.PathOf(L"*"), [&](const FindRecord& record) {
    listed.insert(record.name);
    return true;
  });
  const std::set<std::wstring> expected = {L".", L"..", L"caf\u00e9.txt", L"a\u0444b.dat",
                                           L"a\u0436c.dat"};
  EXPECT_EQ(listed, expected);
}

TEST_F(FileAccess, AListingStopsWhenTheVisitorSaysSo) {
  directory_.MakeFile(L"1.log");
  directory_.MakeFile(L"2.log");
  directory_.MakeFile(L"3.log");
  int visited = 0;
  files_.List(directory_.PathOf(L"*.log"), [&](const FindRecord&) { return ++visited < 2; });
  EXPECT_EQ(visited, 2);
  files_.List(directory_.PathOf(L"nowhere\\*"), [&](const FindRecord&) { return ++visited < 100; });
  EXPECT_EQ(visited, 2);
}

TEST_F(FileAccess, LastWriteTimesReadBackAsLocalDateText) {
  struct Case {
    SYSTEMTIME local;
    const wchar_t* text;
  };
  const Case cases[] = {
      {{2027, 1, 5, 1, 0, 0, 0, 0}, L"1-Jan-2027 0:0:0"},
      {{2026, 12, 1, 7, 9, 5, 3, 450}, L"7-Dec-2026 9:5:3"},
      {{2031, 7, 4, 31, 23, 59, 59, 0}, L"31-Jul-2031 23:59:59"},
  };
  for (const auto& c : cases) {
    const std::wstring path = directory_.MakeFile(L"dated-" + std::to_wstring(c.local.wMonth));
    SetLastWriteTime(path, c.local);
    trace_.lines.clear();
    EXPECT_EQ(DateTextOf(months_, GetFileLastWriteDate(files_, months_, trace_, path)), c.text);
    ASSERT_EQ(trace_.lines.size(), 2u);
    EXPECT_EQ(trace_.lines[0], L"Month seen: " + std::to_wstring(c.local.wMonth));
    EXPECT_EQ(trace_.lines[1], L"GetFileLastWriteDate - " + path + L" : " + c.text);
  }
}

TEST_F(FileAccess, CreationDateOfAFileIsADateText) {
  const std::wstring path = directory_.MakeFile(L"new.log");
  EXPECT_TRUE(IsDateText(DateTextOf(months_, GetFileCreateDate(files_, path))));
}

TEST_F(FileAccess, MissingFilesGiveTheErrorDateText) {
  const std::wstring expected =
      L"ERR:" + SystemMessageLine(ERROR_FILE_NOT_FOUND) + L" (2)";
  const std::wstring gone = directory_.PathOf(L"gone.log");
  EXPECT_EQ(DateTextOf(months_, GetFileCreateDate(files_, gone)), expected);
  EXPECT_EQ(DateTextOf(months_, GetFileLastWriteDate(files_, months_, trace_, gone)), expected);
}

TEST_F(FileAccess, AFailedCalendarConversionLeavesZeroFields) {
  const CalendarFields fields = files_.LocalCalendarFields(0x8000000000000000ull);
  EXPECT_EQ(DateText(months_, fields), L"0--0 0:0:0");
}

TEST_F(FileAccess, ANulInsideAPathNeverReachesAnotherFile) {
  const std::wstring real = directory_.MakeFile(L"real.txt", 42);
  const std::wstring cut = real + std::wstring(1, L'\0') + L"other.txt";
  EXPECT_EQ(Length(cut), -1);
  EXPECT_EQ(errorText_, SystemMessageLine(ERROR_INVALID_NAME));
  EXPECT_EQ(DateTextOf(months_, GetFileCreateDate(files_, cut)),
            L"ERR:" + SystemMessageLine(ERROR_INVALID_NAME) + L" (123)");
  int visited = 0;
  files_.List(directory_.path() + std::wstring(1, L'\0') + L"\\*", [&](const FindRecord&) {
    ++visited;
    return true;
  });
  EXPECT_EQ(visited, 0);
}

TEST_F(FileAccess, AnyPathEndsInAResultAndLeavesNoSearchOpen) {
  directory_.MakeFile(L"real.txt", 42);
  const std::wstring paths[] = {
      std::wstring(100 * 1024, L'a'),
      directory_.PathOf(std::wstring(100 * 1024, L'b')),
      L"*",
      L"\\",
      L"",
      L"\\\\",
      L"?",
      directory_.PathOf(L"*"),
      directory_.PathOf(L"real.txt") + std::wstring(1, L'\0'),
      std::wstring(1, L'\0'),
      L"C:\\:*?\"<>|",
  };
  const HANDLE before = NextHandleValue();
  for (const auto& path : paths) {
    const double length = Length(path);
    EXPECT_TRUE((length == -1 && !errorText_.empty()) || (length >= 0 && errorText_.empty()))
        << "length " << length << " for a path of " << path.size();
    const std::wstring created = DateTextOf(months_, GetFileCreateDate(files_, path));
    EXPECT_TRUE(created.rfind(L"ERR:", 0) == 0 || IsDateText(created));
    const std::wstring written = DateTextOf(months_, GetFileLastWriteDate(files_, months_, trace_, path));
    EXPECT_TRUE(written.rfind(L"ERR:", 0) == 0 || IsDateText(written));
    files_.List(path, [](const FindRecord&) { return true; });
    files_.List(path, [](const FindRecord&) { return false; });
  }
  EXPECT_EQ(NextHandleValue(), before);
}

}  // namespace
}  // namespace quarnel
