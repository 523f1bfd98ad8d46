#include "host/console_output.h"

#include "support/windows_win32.h"

namespace quarnel {
namespace {

std::string Utf8Of(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size = static_cast<int>(text.size());
  const int needed = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(needed), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, bytes.data(), needed, nullptr, nullptr);
  return bytes;
}

void WriteLine(DWORD standardHandle, const std::wstring& line) {
  const std::string bytes = Utf8Of(line) + "\n";
  const HANDLE output = GetStdHandle(standardHandle);
  DWORD written = 0;
  WriteFile(output, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace

void PrintLine(const std::wstring& line) { WriteLine(STD_OUTPUT_HANDLE, line); }
void PrintErrorLine(const std::wstring& line) { WriteLine(STD_ERROR_HANDLE, line); }

}  // namespace quarnel
