// The baseline of the check benchmark: lists a pattern with the system's
// file search and counts the plain files, nothing more.
#include "support/windows_win32.h"

#include <cstdio>

#include "support/unique_any_win32.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: list-baseline PATTERN\n");
    return 2;
  }
  WIN32_FIND_DATAA entry;
  const quarnel::unique_find search(FindFirstFileExA(argv[1], FindExInfoStandard, &entry,
                                                     FindExSearchNameMatch, nullptr, 0));
  if (!search) {
    std::printf("0\n");
    return 1;
  }
  long files = 0;
  constexpr DWORD kNotPlain =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  do {
    if ((entry.dwFileAttributes & kNotPlain) == 0) ++files;
  } while (FindNextFileA(search.get(), &entry));
  std::printf("%ld\n", files);
  return 0;
}
