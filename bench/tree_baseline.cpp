// The baseline of the folder-tree benchmark: a bare recursive listing of a
// folder and every folder below it, each listed once with "*" through
// FindFirstFileExW with the large-fetch flag, counting the plain files
// whose names end in the given suffix. Nothing else: no identities, no
// links told apart, no dates.
#include "support/windows_win32.h"

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "support/unique_any_win32.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: tree-baseline FOLDER SUFFIX\n");
    return 2;
  }
  const std::wstring suffix = argv[2];
  std::vector<std::wstring> pending{std::wstring(argv[1]) + L"\\"};
  long files = 0;
  constexpr DWORD kNotPlain = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  while (!pending.empty()) {
    const std::wstring folder = std::move(pending.back());
    pending.pop_back();
    WIN32_FIND_DATAW entry;
    const quarnel::unique_find search(FindFirstFileExW((folder + L"*").c_str(), FindExInfoBasic, &entry,
                                                       FindExSearchNameMatch, nullptr,
                                                       FIND_FIRST_EX_LARGE_FETCH));
    if (!search) continue;
    do {
      const std::wstring name = entry.cFileName;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (name != L"." && name != L"..") pending.push_back(folder + name + L"\\");
      } else if ((entry.dwFileAttributes & kNotPlain) == 0 && name.size() >= suffix.size() &&
                 name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
        ++files;
      }
    } while (FindNextFileW(search.get(), &entry));
  }
  std::printf("%ld\n", files);
  return 0;
}
