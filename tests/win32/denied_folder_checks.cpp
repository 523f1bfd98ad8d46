// Checks of a folder that the plug-in may not read. run-without-file-rights
// makes the folder (mode 000, one file a.log inside), names it in
// QUARNEL_DENIED_FOLDER and runs this program, the stand-in host and the
// Wine server as root without the right to bypass file permissions.

#include "support/windows_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "host_check.h"
#include "support/unique_any_win32.h"

namespace quarnel {
namespace {

// A folder that run-without-file-rights names, as a Windows path: Z: is the
// Linux root.
std::wstring FolderNamedIn(const char* variable) {
  const char* folder = std::getenv(variable);
  if (!folder) return std::wstring();
  std::wstring path = L"Z:";
  for (const char* c = folder; *c; ++c) path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
  return path;
}

std::wstring DeniedFolder() { return FolderNamedIn("QUARNEL_DENIED_FOLDER"); }

TEST(DeniedFolder, EveryKindOfCheckFailsWhateverAMissingFileMeans) {
  const std::wstring folder = DeniedFolder();
  ASSERT_FALSE(folder.empty()) << "run through tests/win32/run-without-file-rights";
  // The restriction holds for this program too, or the test shows nothing.
  WIN32_FIND_DATAW data;
  const unique_find search(FindFirstFileW((folder + L"\\*").c_str(), &data));
  ASSERT_FALSE(search) << "the folder can be read: the right to bypass permissions is still there";
  ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

  for (const wchar_t* what : {L"SIZE", L"WDATE", L"CDATE", L"OLDWRITE", L"YOUCREA"}) {
    for (const wchar_t* notFoundIsOk : {L"T", L"F"}) {
      const bool single = std::wstring(what).find(L"DATE") == 1;
      const std::wstring path = folder + (single ? L"\\a.log" : L"\\*.log");
      SCOPED_TRACE(Utf8(what) + " FNF=" + Utf8(notFoundIsOk));
      ExpectFailedCheck(RunHostCheck(L"#FILE=" + path + L"#WHT=" + what +
                                     L"#CMP=LT#VAL=1#UNIT=B#FNF=" + notFoundIsOk + L"#"),
                        CouldNotLookResult(ERROR_ACCESS_DENIED));
    }
  }
}

// A folder below the first that cannot be listed fails every listing kind
// with a text that names it, whatever a missing file means.
TEST(DeniedFolder, ADeniedSubfolderFailsTheWalkNamingIt) {
  const std::wstring tree = FolderNamedIn("QUARNEL_DENIED_TREE");
  ASSERT_FALSE(tree.empty()) << "run through tests/win32/run-without-file-rights";
  for (const wchar_t* what : {L"SIZE", L"COUNT", L"OLDWRITE"}) {
    for (const wchar_t* notFoundIsOk : {L"T", L"F"}) {
      SCOPED_TRACE(Utf8(what) + " FNF=" + Utf8(notFoundIsOk));
      ExpectFailedCheck(RunHostCheck(L"#FILE=" + tree + L"\\*.log#WHT=" + what +
                                     L"#CMP=GT#VAL=100#UNIT=N#SUB=T#FNF=" + notFoundIsOk + L"#"),
                        "ERR:" + Utf8(tree) + "\\shut\\ could not be listed: " +
                            Utf8(SystemMessageLine(ERROR_ACCESS_DENIED)) + " (5)");
    }
  }
  // Without subfolders the first folder alone is looked at.
  const ProgramRun run = RunHostCheck(L"#FILE=" + tree + L"\\*.log#WHT=COUNT#CMP=GT#VAL=1#");
  ASSERT_GE(run.lines.size(), 2u);
  EXPECT_EQ(run.lines[1], "result: Number of files matching " + Utf8(tree) + "\\*.log is 1");
}

// Unix symbolic links back up the tree, which Wine shows as folders: each
// real folder is entered once, each file counted once, and the walk ends.
TEST(DeniedFolder, ALoopOfSymbolicLinksEndsWithEachFolderOnce) {
  const std::wstring tree = FolderNamedIn("QUARNEL_LOOP_TREE");
  ASSERT_FALSE(tree.empty()) << "run through tests/win32/run-without-file-rights";
  const std::wstring pattern = tree + L"\\*.log";
  const ProgramRun run = RunHostCheck(L"#FILE=" + pattern + L"#WHT=COUNT#CMP=GT#VAL=10#SUB=T#");
  ASSERT_GE(run.lines.size(), 2u);
  EXPECT_EQ(run.lines[0], "status: True");
  EXPECT_EQ(run.lines[1], "result: Number of files matching " + Utf8(pattern) + " is 3");
  std::vector<std::string> entered;
  for (const std::string& line : TraceLines(run)) {
    if (line.rfind("FOLDER: ", 0) == 0) entered.push_back(line.substr(8));
  }
  const std::string top = Utf8(tree) + "\\";
  EXPECT_EQ(entered, (std::vector<std::string>{top, top + "a\\", top + "a\\b\\"}));
  // A folder mounted again inside the tree is no link: only its identity
  // tells that it was entered before.
  if (std::getenv("QUARNEL_BOUND_LOOP")) {
    const std::vector<std::string> traces = TraceLines(run);
    EXPECT_NE(std::find(traces.begin(), traces.end(), "FOLDER SEEN: " + top + "a\\bound\\"),
              traces.end());
  } else {
    std::cout << "[   NOTE   ] no bind mount here: the loop that only identities end is not shown\n";
  }
}

}  // namespace
}  // namespace quarnel
