#pragma once
// A directory of real files for one test, made under the temporary directory
// and removed with everything in it when the test is done.

#include "support/windows_win32.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/unique_any_win32.h"

namespace quarnel {

// Removes a directory with its files and subdirectories.
inline void RemoveTree(const std::wstring& directory) {
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
  search.reset();  // a directory with an open search in it cannot be removed
  RemoveDirectoryW(directory.c_str());
}

class TestDirectory {
 public:
  // The name holds `purpose`, the process and the time, so that programs
  // that run at once never share a directory, and a directory left behind
  // by a crash tells which test made it.
  explicit TestDirectory(const std::wstring& purpose) {
    wchar_t temp[MAX_PATH + 1] = {};
    EXPECT_NE(GetTempPathW(MAX_PATH + 1, temp), 0u);
    path_ = std::wstring(temp) + L"quarnel-" + purpose + L"-" +
            std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount());
    EXPECT_TRUE(CreateDirectoryW(path_.c_str(), nullptr)) << "error " << GetLastError();
  }
  ~TestDirectory() { RemoveTree(path_); }
  TestDirectory(const TestDirectory&) = delete;
  TestDirectory& operator=(const TestDirectory&) = delete;

  const std::wstring& path() const { return path_; }
  std::wstring PathOf(const std::wstring& name) const { return path_ + L"\\" + name; }

  // Makes a new file of `size` bytes and gives its path. Only the size
  // counts, so the file is extended rather than written: large sizes stay
  // sparse on the disk. With `written`, that is its creation and last-write
  // time.
  std::wstring MakeFile(const std::wstring& name, LONGLONG size = 0,
                        std::optional<FILETIME> written = std::nullopt) const {
    const std::wstring path = PathOf(name);
    const unique_hfile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
      ADD_FAILURE() << "cannot make a file, error " << GetLastError();
      return path;
    }
    LARGE_INTEGER end;
    end.QuadPart = size;
    EXPECT_TRUE(SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN));
    EXPECT_TRUE(SetEndOfFile(file.get()));
    if (written) {
      EXPECT_TRUE(SetFileTime(file.get(), &*written, nullptr, &*written));
    }
    return path;
  }

 private:
  std::wstring path_;
};

}  // namespace quarnel
