#include "fileaccess/long_paths.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fake_check_machine.h"
#include "support/ole_date.h"

namespace quarnel {
namespace {

using fake::FakeFileSystem;
using fake::FakeFullPaths;

// `start` followed by "\"-separated names of up to 100 "d"s and `last`,
// exactly `length` characters in all.
std::wstring PathOfLength(const std::wstring& start, std::size_t length,
                          const std::wstring& last = L"") {
  std::wstring path = start;
  const std::size_t end = length - last.size();
  while (path.size() < end) {
    path += L'\\';
    path.append(std::min<std::size_t>(100, end - path.size()), L'd');
  }
  return path + last;
}

std::string Narrow(const std::wstring& text) {
  std::string narrow;
  for (wchar_t c : text) narrow += c < 128 ? static_cast<char>(c) : '?';
  return narrow.size() > 80 ? narrow.substr(0, 40) + "..." + narrow.substr(narrow.size() - 40)
                            : narrow;
}

TEST(SystemPathFor, PassesLongPathsInTheExtendedFormAndRefusesWhatCannotBeLookedAt) {
  FakeFullPaths fullPaths;  // current directory C:\work
  fullPaths.driveDirectories[L'D'] = L"D:\\logs";
  const std::wstring at259 = PathOfLength(L"C:\\data", 259), at260 = PathOfLength(L"C:\\data", 260);
  const std::wstring at261 = PathOfLength(L"C:\\data", 261);
  const std::wstring deep = PathOfLength(L"C:\\data", 300);
  const std::wstring unc = PathOfLength(L"\\\\srv\\share", 300);
  // Relative names that reach 260 characters only from C:\work or D:\logs.
  const std::wstring relative = PathOfLength(L"rel", 257);
  struct Case {
    std::wstring given;
    std::wstring passed;  // empty when refused
    std::uint32_t refusal;
  };
  const Case cases[] = {
      {L"C:\\data\\a.log", L"C:\\data\\a.log", 0},
      {L"C:\\data\\trailing. ", L"C:\\data\\trailing. ", 0},
      {L"\\\\srv\\share\\a.log", L"\\\\srv\\share\\a.log", 0},
      {L"a.log", L"a.log", 0},
      {L"", L"", 0},
      {L"C:/data/./x/../*.log", L"C:/data/./x/../*.log", 0},
      {at259, at259, 0},
      {at260, L"\\\\?\\" + at260, 0},
      {at261, L"\\\\?\\" + at261, 0},
      {deep + L"\\*.l?g", L"\\\\?\\" + deep + L"\\*.l?g", 0},
      {unc + L"\\*.log", L"\\\\?\\UNC" + unc.substr(1) + L"\\*.log", 0},
      {relative, L"\\\\?\\C:\\work\\" + relative, 0},
      {L"D:" + relative, L"\\\\?\\D:\\logs\\" + relative, 0},
      {L"\\" + relative, L"\\\\?\\C:\\" + relative, 0},
      {L"C:\\data\\.\\x\\..\\" + deep.substr(8) + L"\\a.log", L"\\\\?\\" + deep + L"\\a.log", 0},
      {L"C:/data/" + deep.substr(8) + L"/a.log. ", L"\\\\?\\" + deep + L"\\a.log", 0},
      {L"//srv/share/" + unc.substr(12), L"\\\\?\\UNC" + unc.substr(1), 0},
      // Written in the extended form: as written, however long.
      {L"\\\\?\\C:\\data\\a.log", L"\\\\?\\C:\\data\\a.log", 0},
      {L"\\\\?\\" + deep, L"\\\\?\\" + deep, 0},
      {L"\\\\?\\UNC\\srv\\share\\*.log", L"\\\\?\\UNC\\srv\\share\\*.log", 0},
      // What the system cannot look at in either form.
      {L"C:\\" + std::wstring(255, L'n'), L"C:\\" + std::wstring(255, L'n'), 0},
      {L"C:\\data\\" + std::wstring(256, L'n'), L"", kErrorInvalidName},
      {L"\\\\?\\C:\\" + std::wstring(256, L'n'), L"", kErrorInvalidName},
      {std::wstring(L"C:\\data\\a.log\0.txt", 18), L"", kErrorInvalidName},
      {L"C:\\data\\a\r.log", L"", kErrorInvalidName},
      {L"C:\\da\tta\\a.log", L"", kErrorInvalidName},
      {L"\\\\?\\C:\\data\\a\x1f.log", L"", kErrorInvalidName},
      {L"C:\\data\\a|b.log", L"", kErrorInvalidName},
      {L"C:\\data\\*.l?g<>\"", L"C:\\data\\*.l?g<>\"", 0},
      {PathOfLength(L"C:\\data", 32767), L"", kErrorFilenameTooLong},
      {PathOfLength(L"C:\\data", 32763), PathOfLength(L"\\\\?\\C:\\data", 32767), 0},
      {PathOfLength(L"C:\\data", 40000), L"", kErrorFilenameTooLong},
      {PathOfLength(L"\\\\?\\C:\\data", 32768), L"", kErrorFilenameTooLong},
      {L"\\\\?\\", L"", kErrorBadPathname},
      {L"\\\\?\\\\*.*", L"", kErrorBadPathname},
      {L"\\\\?\\UNC\\srv", L"", kErrorBadPathname},
      {L"\\\\.\\C:\\data\\a.log", L"", kErrorBadPathname},
      {L"\\\\.\\pipe\\x", L"", kErrorBadPathname},
      {L"//./C:/data", L"", kErrorBadPathname},
      {L"\\\\srv\\*.*", L"", kErrorBadPathname},
      {L"\\\\srv\\\\a.log", L"", kErrorBadPathname},
      {L"\\\\\\share\\a.log", L"", kErrorBadPathname},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.given) + " (" + std::to_string(c.given.size()) + ")");
    const SystemPath path = SystemPathFor(c.given, fullPaths);
    EXPECT_EQ(path.refusal, c.refusal);
    EXPECT_EQ(path.path, c.passed);
  }
}

// Every kind of check measures a folder whose paths are 260 characters or
// longer, on a file system that refuses such paths without the extended
// form as Windows does; none of them passes as "No matching files".
class LongFolderCheckTest : public ::testing::Test, protected fake::CheckMachineAround {
 protected:
  LongFolderCheckTest() { clock.now = OleDateFromFields({2026, 12, 7, 10, 0, 0}); }

  void AddLogs(const std::wstring& folder) {
    const auto at8 = system.LocalFileTime(2026, 12, 7, 8, 0, 0);
    const auto at9 = system.LocalFileTime(2026, 12, 7, 9, 0, 0);
    system.AddFile(folder, L"a.log", 10, at8, at8);
    system.AddFile(folder, L"b.log", 20, at9, at9);
  }

  FakeFileSystem system;
  FakeFullPaths fullPaths;
  LongPathFileSystem files{system, fullPaths};
};

TEST_F(LongFolderCheckTest, EveryKindMeasuresAFolderPastTheLimit) {
  for (const std::wstring& folder : {PathOfLength(L"C:\\data", 300),
                                     PathOfLength(L"\\\\srv\\share", 1100)}) {
    SCOPED_TRACE(folder.size());
    AddLogs(folder);
    const std::wstring a = folder + L"\\a.log", b = folder + L"\\b.log";
    const struct {
      const wchar_t* what;
      std::wstring file, result;
    } kinds[] = {
        {L"SIZE", folder + L"\\*.log", L"Size of " + folder + L"\\*.log is 30 B"},
        {L"CDATE", a, a + L" was created 120 minutes ago"},
        {L"WDATE", b, b + L" was written 60 minutes ago"},
        {L"OLDCREA", folder + L"\\*.log", a + L" was created 120 minutes ago"},
        {L"OLDWRITE", folder + L"\\*.log", a + L" was written 120 minutes ago"},
        {L"YOUCREA", folder + L"\\*.log", b + L" was created 60 minutes ago"},
        {L"YOUWRITE", folder + L"\\*.log", b + L" was written 60 minutes ago"},
    };
    for (const auto& kind : kinds) {
      SCOPED_TRACE(std::string(kind.what, kind.what + wcslen(kind.what)));
      const std::wstring parameters = L"#FILE=" + kind.file + L"#WHT=" + kind.what +
                                      L"#CMP=LT#VAL=0#UNIT=" +
                                      (kind.what[0] == L'S' ? L"B" : L"N") + L"#FNF=T#";
      const CheckOutcome outcome = Check(files, parameters);
      EXPECT_EQ(outcome.result, kind.result);
      EXPECT_TRUE(outcome.passed);
      // The fake holds the system's limit: without the extended form the
      // same folder would read as missing.
      EXPECT_EQ(Check(system, parameters).result, L"No matching files");
    }
  }
}

// Paths that cannot be looked at fail the check whatever FNF says.
TEST_F(LongFolderCheckTest, APathThatCannotBeLookedAtIsNeverNotFound) {
  const std::wstring tooLong = L"ERR:The filename or extension is too long. (206)";
  const std::wstring invalidPath = L"ERR:The specified path is invalid. (161)";
  const std::wstring invalidName =
      L"ERR:The filename, directory name, or volume label syntax is incorrect. (123)";
  const struct {
    std::wstring file, result;
  } cases[] = {
      {PathOfLength(L"C:\\data", 40000, L"\\*.log"), tooLong},
      {L"\\\\?\\", invalidPath},
      {L"\\\\.\\C:\\data\\*.log", invalidPath},
      {L"\\\\srv", invalidPath},
      {L"\\\\srv\\", invalidPath},
      {L"C:\\data\\" + std::wstring(256, L'n') + L"\\*.log", invalidName},
      {L"C:\\data\\a\n.log", invalidName},
      {L"C:\\data\\*.log|", invalidName},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.file));
    for (const wchar_t* what : {L"SIZE", L"WDATE", L"YOUCREA"}) {
      const CheckOutcome outcome =
          Check(files, L"#FILE=" + c.file + L"#WHT=" + what + L"#CMP=GT#VAL=1#UNIT=N#FNF=T#");
      EXPECT_EQ(outcome.result, c.result) << Narrow(what);
      EXPECT_FALSE(outcome.passed);
    }
  }
}

}  // namespace
}  // namespace quarnel
