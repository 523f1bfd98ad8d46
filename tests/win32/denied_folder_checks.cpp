// Checks of a folder that the plug-in may not read. run-without-file-rights
// makes the folder (mode 000, one file a.log inside), names it in
// QUARNEL_DENIED_FOLDER and runs this program, the stand-in host and the
// Wine server as root without the right to bypass file permissions.

#include "support/windows_win32.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "host_check.h"
#include "support/unique_any_win32.h"

namespace quarnel {
namespace {

// The folder as a Windows path: Z: is the Linux root.
std::wstring DeniedFolder() {
  const char* folder = std::getenv("QUARNEL_DENIED_FOLDER");
  if (!folder) return std::wstring();
  std::wstring path = L"Z:";
  for (const char* c = folder; *c; ++c) path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
  return path;
}

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

}  // namespace
}  // namespace quarnel
