// Checks of real folders nested past 300 and past 1,000 characters,
// through the registered DLL, reached by a local path and (under Wine) by
// the same folder's Z: path: every kind of check measures them and names
// the path as it was written. The folders are made and removed through
// extended-length paths, as Windows needs for them.

#include "support/windows_win32.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "com_client.h"
#include "system_message.h"
#include "test_files.h"

namespace quarnel {
namespace {

const testing::Environment* const apartment =
    testing::AddGlobalTestEnvironment(new MainThreadApartment);

constexpr ULONGLONG kTicksPerDay = 864000000000ull;

std::wstring Extended(const std::wstring& path) { return L"\\\\?\\" + path; }

// The folder below `base` whose path is at least `length` characters long,
// made of names of 100 characters; a shorter one made before is its start.
std::wstring MakeNestedFolder(const std::wstring& base, std::size_t length) {
  std::wstring folder = base;
  while (folder.size() < length) {
    folder += L"\\" + std::wstring(100, L'd');
    EXPECT_TRUE(CreateDirectoryW(Extended(folder).c_str(), nullptr) ||
                GetLastError() == ERROR_ALREADY_EXISTS)
        << "error " << GetLastError();
  }
  return folder;
}

// A file of `size` bytes created and last written `daysAgo` days ago.
void MakeFile(const std::wstring& path, LONGLONG size, ULONGLONG daysAgo) {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const ULONGLONG ticks =
      ((static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime) - daysAgo * kTicksPerDay;
  const FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  const unique_hfile file(CreateFileW(Extended(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(file) << "error " << GetLastError();
  LARGE_INTEGER end;
  end.QuadPart = size;
  EXPECT_TRUE(SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN));
  EXPECT_TRUE(SetEndOfFile(file.get()));
  EXPECT_TRUE(SetFileTime(file.get(), &time, nullptr, &time));
}

// The Z: path of a local path under Wine, whose Z: drive is the Linux root;
// nothing elsewhere.
std::optional<std::wstring> WineZPathOf(const std::wstring& path) {
  using UnixFileName = char*(CDECL*)(const wchar_t*);
  const auto unixFileName = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixFileName) return std::nullopt;
  char* unixPath = unixFileName(path.c_str());
  if (!unixPath) return std::nullopt;
  std::wstring zPath = L"Z:";
  for (const char* c = unixPath; *c; ++c) zPath += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
  HeapFree(GetProcessHeap(), 0, unixPath);
  return zPath;
}

class LongPathTest : public testing::Test {
 protected:
  LongPathTest() : plugin_(CreatePlugin()) {}
  // Removed through the extended form, which reaches the deep folders.
  ~LongPathTest() override { RemoveTree(Extended(root_.path())); }

  CheckOutcome Check(const std::wstring& parameters) {
    EXPECT_EQ(PutParameterString(plugin_.get(), parameters), S_OK);
    return RunCheck(plugin_.get());
  }

  const TestDirectory root_{L"long"};
  com_ptr<_quarnelcom> plugin_;
};

TEST_F(LongPathTest, EveryKindMeasuresAFolderPastTheLimitAndShowsThePathAsWritten) {
  ASSERT_TRUE(plugin_);
  for (std::size_t length : {300u, 1000u}) {
    const std::wstring folder = MakeNestedFolder(root_.path(), length);
    MakeFile(folder + L"\\a.log", 10, 3);
    MakeFile(folder + L"\\b.log", 20, 1);
    std::vector<std::wstring> ways = {folder};
    if (const auto zPath = WineZPathOf(folder)) ways.push_back(*zPath);
    for (const std::wstring& written : ways) {
      SCOPED_TRACE(std::to_string(written.size()) + " characters, " +
                   (written[0] == L'Z' ? "the Z: path" : "the local path"));
      const std::wstring a = written + L"\\a.log", b = written + L"\\b.log";
      const std::wstring pattern = written + L"\\*.log";
      const struct {
        const wchar_t* what;
        std::wstring file, result;
      } kinds[] = {
          {L"SIZE", pattern, L"Size of " + pattern + L" is 30 B"},
          {L"CDATE", a, a + L" was created 3 days ago"},
          {L"WDATE", b, b + L" was written 1 days ago"},
          {L"OLDCREA", pattern, a + L" was created 3 days ago"},
          {L"OLDWRITE", pattern, a + L" was written 3 days ago"},
          {L"YOUCREA", pattern, b + L" was created 1 days ago"},
          {L"YOUWRITE", pattern, b + L" was written 1 days ago"},
      };
      for (const auto& kind : kinds) {
        const std::wstring unit = kind.what[0] == L'S' ? L"B" : L"D";
        const CheckOutcome outcome =
            Check(L"#FILE=" + kind.file + L"#WHT=" + kind.what + L"#CMP=LT#VAL=0#UNIT=" + unit +
                  L"#FNF=T#");
        EXPECT_EQ(outcome.call, S_OK);
        EXPECT_EQ(outcome.result, kind.result) << "WHT=" << std::string(kind.what, kind.what + wcslen(kind.what));
        EXPECT_EQ(outcome.status, VARIANT_TRUE);
      }
    }
  }
}

// A path that the administrator wrote in the extended form is looked at as
// written; paths that cannot be looked at fail whatever FNF says.
TEST_F(LongPathTest, ExtendedPathsGoAsWrittenAndUnusablePathsFail) {
  ASSERT_TRUE(plugin_);
  MakeFile(root_.PathOf(L"a.log"), 10, 1);
  const std::wstring extended = Extended(root_.PathOf(L"*.log"));
  CheckOutcome outcome = Check(L"#FILE=" + extended + L"#WHT=SIZE#CMP=LT#VAL=0#UNIT=B#");
  EXPECT_EQ(outcome.result, L"Size of " + extended + L" is 10 B");
  EXPECT_EQ(outcome.status, VARIANT_TRUE);

  const auto couldNotLook = [](DWORD code) {
    return L"ERR:" + SystemMessageLine(code) + L" (" + std::to_wstring(code) + L")";
  };
  const struct {
    std::wstring file;
    DWORD code;
  } cases[] = {
      // Wine reads an overlong name as a missing file.
      {root_.PathOf(std::wstring(256, L'n') + L"\\*.log"), ERROR_INVALID_NAME},
      {root_.PathOf(std::wstring(256, L'n')), ERROR_INVALID_NAME},
      {L"C:\\" + std::wstring(40000, L'x'), ERROR_FILENAME_EXCED_RANGE},
      {L"\\\\?\\", ERROR_BAD_PATHNAME},
      {L"\\\\.\\C:\\*.log", ERROR_BAD_PATHNAME},
      {L"\\\\srv", ERROR_BAD_PATHNAME},
  };
  for (const auto& c : cases) {
    for (const wchar_t* what : {L"SIZE", L"WDATE", L"OLDCREA"}) {
      outcome = Check(L"#FILE=" + c.file + L"#WHT=" + what + L"#CMP=GT#VAL=1#UNIT=D#FNF=T#");
      EXPECT_EQ(outcome.result, couldNotLook(c.code)) << c.code;
      EXPECT_EQ(outcome.status, VARIANT_FALSE) << c.code;
    }
  }
}

}  // namespace
}  // namespace quarnel
