// The file lookups and date texts on real files that the test makes in a
// directory of its own under the temporary directory.

#include <windows.h>

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>

#include "fileaccess/file_dates.h"
#include "fileaccess/file_lookup.h"
#include "fileaccess/file_system_win32.h"
#include "support/unique_any_win32.h"
#include "tests/native/fake_machine.h"

namespace quarnel {
namespace {

void RemoveTree(const std::wstring& directory) {
  WIN32_FIND_DATAW data;
  unique_find search(FindFirstFileW((directory + L"\\*").c_str(), &data));
  if (search) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = directory + L"\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(path);
      else
        DeleteFileW(path.c_str());
    } while (FindNextFileW(search.get(), &data));
  }
  search.reset();
  RemoveDirectoryW(directory.c_str());
}

// The value that the next kernel handle of the process gets. The system
// hands out the lowest free slot, so a handle left open by a search shows
// up as a different value.
HANDLE NextHandleValue() {
  const HANDLE probe = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  CloseHandle(probe);
  return probe;
}

std::wstring SystemMessageLine(DWORD code) {
  wchar_t buffer[512] = {};
  const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, code, 0, buffer, 512, nullptr);
  std::wstring line(buffer, length);
  while (!line.empty() && (line.back() == L'\n' || line.back() == L'\r' || line.back() == L' '))
    line.pop_back();
  return line;
}

bool IsDateText(const std::wstring& text) {
  static const std::wregex date(L"[0-9]+-[A-Za-z]+-[0-9]+ [0-9]+:[0-9]+:[0-9]+");
  return std::regex_match(text, date);
}

class FileAccess : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH + 1] = {};
    ASSERT_NE(GetTempPathW(MAX_PATH + 1, temp), 0u);
    root_ = std::wstring(temp) + L"quarnel-files-" + std::to_wstring(GetCurrentProcessId()) +
            L"-" + std::to_wstring(GetTickCount());
    ASSERT_TRUE(CreateDirectoryW(root_.c_str(), nullptr));
    fake::LoadDefaultMonthNames(months_);
  }
  void TearDown() override { RemoveTree(root_); }

  std::wstring PathOf(const std::wstring& name) const { return root_ + L"\\" + name; }

  // Makes a file of the given size; large sizes stay sparse on the disk.
  std::wstring MakeFile(const std::wstring& name, LONGLONG size = 0) {
    const std::wstring path = PathOf(name);
    const HANDLE raw = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(raw, INVALID_HANDLE_VALUE) << "cannot make " << name.size();
    if (raw == INVALID_HANDLE_VALUE) return path;
    const unique_handle file(raw);
    LARGE_INTEGER end;
    end.QuadPart = size;
    EXPECT_TRUE(SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN));
    EXPECT_TRUE(SetEndOfFile(file.get()));
    return path;
  }

  void SetLastWriteTime(const std::wstring& path, const SYSTEMTIME& local) {
    FILETIME localTime, utc;
    ASSERT_TRUE(SystemTimeToFileTime(&local, &localTime));
    ASSERT_TRUE(LocalFileTimeToFileTime(&localTime, &utc));
    const unique_handle file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    ASSERT_TRUE(SetFileTime(file.get(), nullptr, nullptr, &utc));
  }

  double Length(const std::wstring& path) { return GetFileLength(files_, path, errorText_); }

  std::wstring root_;
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
    const std::wstring path = MakeFile(c.name, c.size);
    EXPECT_EQ(Length(path), static_cast<double>(c.size)) << c.name;
    EXPECT_EQ(errorText_, L"") << c.name;
  }
}

TEST_F(FileAccess, MeasuresADirectoryNamedWithoutSeparator) {
  ASSERT_TRUE(CreateDirectoryW(PathOf(L"sub").c_str(), nullptr));
  EXPECT_GE(Length(PathOf(L"sub")), 0);
  EXPECT_EQ(errorText_, L"");
}

TEST_F(FileAccess, APatternMeasuresOnlyItsFirstEntry) {
  MakeFile(L"a.bin", 10);
  MakeFile(L"b.bin", 20);
  const double measured = Length(PathOf(L"*.bin"));
  EXPECT_TRUE(measured == 10 || measured == 20) << measured;
  EXPECT_EQ(errorText_, L"");
}

TEST_F(FileAccess, AMissingEntryGivesMinusOneAndTheSystemsMessage) {
  EXPECT_EQ(Length(PathOf(L"missing.log")), -1);
  EXPECT_EQ(errorText_, SystemMessageLine(ERROR_FILE_NOT_FOUND));
  EXPECT_NE(errorText_, L"");
  EXPECT_EQ(Length(PathOf(L"nowhere\\missing.log")), -1);
  EXPECT_EQ(errorText_, SystemMessageLine(ERROR_PATH_NOT_FOUND));
}

TEST_F(FileAccess, SystemErrorTextsDropTheirLineBreak) {
  EXPECT_EQ(GetSystemErrorText(files_, ERROR_ACCESS_DENIED), SystemMessageLine(ERROR_ACCESS_DENIED));
  EXPECT_EQ(GetSystemErrorText(files_, 0x3FFFFFFF), L"");
}

TEST_F(FileAccess, NamesOutsideTheAnsiCodePageAreFoundAsThemselves) {
  MakeFile(L"caf\u00e9.txt", 5);
  MakeFile(L"a\u0444b.dat", 3);
  MakeFile(L"a\u0436c.dat", 9);
  EXPECT_EQ(Length(PathOf(L"caf\u00e9.txt")), 5);
  EXPECT_EQ(Length(PathOf(L"a\u0436c.dat")), 9);
  // "ж" is no wildcard: it does not stand for the "ф" of the sibling.
  EXPECT_EQ(Length(PathOf(L"a\u0436b.dat")), -1);
  EXPECT_EQ(errorText_, SystemMessageLine(ERROR_FILE_NOT_FOUND));

  EXPECT_EQ(files_.FindFirst(PathOf(L"a\u0436*")).record.name, L"a\u0436c.dat");
  std::set<std::wstring> listed;
  files_.List(PathOf(L"*"), [&](const FindRecord& record) {
    listed.insert(record.name);
    return true;
  });
  const std::set<std::wstring> expected = {L".", L"..", L"caf\u00e9.txt", L"a\u0444b.dat",
                                           L"a\u0436c.dat"};
  EXPECT_EQ(listed, expected);
}

TEST_F(FileAccess, AListingStopsWhenTheVisitorSaysSo) {
  MakeFile(L"1.log");
  MakeFile(L"2.log");
  MakeFile(L"3.log");
  int visited = 0;
  files_.List(PathOf(L"*.log"), [&](const FindRecord&) { return ++visited < 2; });
  EXPECT_EQ(visited, 2);
  files_.List(PathOf(L"nowhere\\*"), [&](const FindRecord&) { return ++visited < 100; });
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
    const std::wstring path = MakeFile(L"dated-" + std::to_wstring(c.local.wMonth));
    SetLastWriteTime(path, c.local);
    trace_.lines.clear();
    EXPECT_EQ(GetFileLastWriteDate(files_, months_, trace_, path), c.text);
    ASSERT_EQ(trace_.lines.size(), 2u);
    EXPECT_EQ(trace_.lines[0], L"Month seen: " + std::to_wstring(c.local.wMonth));
    EXPECT_EQ(trace_.lines[1], L"GetFileLastWriteDate - " + path + L" : " + c.text);
  }
}

TEST_F(FileAccess, CreationDateOfAFileIsADateText) {
  const std::wstring path = MakeFile(L"new.log");
  EXPECT_TRUE(IsDateText(GetFileCreateDate(files_, months_, path)));
}

TEST_F(FileAccess, MissingFilesGiveTheErrorDateText) {
  const std::wstring expected =
      L"ERR:" + SystemMessageLine(ERROR_FILE_NOT_FOUND) + L" (2)";
  EXPECT_EQ(GetFileCreateDate(files_, months_, PathOf(L"gone.log")), expected);
  EXPECT_EQ(GetFileLastWriteDate(files_, months_, trace_, PathOf(L"gone.log")), expected);
}

TEST_F(FileAccess, AFailedCalendarConversionLeavesZeroFields) {
  const CalendarFields fields = files_.LocalCalendarFields(0x8000000000000000ull);
  EXPECT_EQ(DateText(months_, fields), L"0--0 0:0:0");
}

TEST_F(FileAccess, ANulInsideAPathNeverReachesAnotherFile) {
  const std::wstring real = MakeFile(L"real.txt", 42);
  const std::wstring cut = real + std::wstring(1, L'\0') + L"other.txt";
  EXPECT_EQ(Length(cut), -1);
  EXPECT_EQ(errorText_, SystemMessageLine(ERROR_INVALID_NAME));
  EXPECT_EQ(GetFileCreateDate(files_, months_, cut),
            L"ERR:" + SystemMessageLine(ERROR_INVALID_NAME) + L" (123)");
  int visited = 0;
  files_.List(root_ + std::wstring(1, L'\0') + L"\\*", [&](const FindRecord&) {
    ++visited;
    return true;
  });
  EXPECT_EQ(visited, 0);
}

TEST_F(FileAccess, AnyPathEndsInAResultAndLeavesNoSearchOpen) {
  MakeFile(L"real.txt", 42);
  const std::wstring paths[] = {
      std::wstring(100 * 1024, L'a'),
      PathOf(std::wstring(100 * 1024, L'b')),
      L"*",
      L"\\",
      L"",
      L"\\\\",
      L"?",
      PathOf(L"*"),
      PathOf(L"real.txt") + std::wstring(1, L'\0'),
      std::wstring(1, L'\0'),
      L"C:\\:*?\"<>|",
  };
  const HANDLE before = NextHandleValue();
  for (const auto& path : paths) {
    const double length = Length(path);
    EXPECT_TRUE((length == -1 && !errorText_.empty()) || (length >= 0 && errorText_.empty()))
        << "length " << length << " for a path of " << path.size();
    const std::wstring created = GetFileCreateDate(files_, months_, path);
    EXPECT_TRUE(created.rfind(L"ERR:", 0) == 0 || IsDateText(created));
    const std::wstring written = GetFileLastWriteDate(files_, months_, trace_, path);
    EXPECT_TRUE(written.rfind(L"ERR:", 0) == 0 || IsDateText(written));
    files_.List(path, [](const FindRecord&) { return true; });
    files_.List(path, [](const FindRecord&) { return false; });
  }
  EXPECT_EQ(NextHandleValue(), before);
}

}  // namespace
}  // namespace quarnel
