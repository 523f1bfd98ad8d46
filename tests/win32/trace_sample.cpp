// A program for the trace viewer's tests: sends known texts to the debugger
// output, writes a line of its own and ends with exit code 3.
//   trace_sample           "a" and "b c"
//   trace_sample accented  "caf" + e-acute in the ANSI code page

#include "support/windows_win32.h"

#include <cstring>
#include <string>

namespace {

void WriteOwnLine(const char* line) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line, static_cast<DWORD>(std::strlen(line)), &written,
            nullptr);
}

std::string AnsiOf(const wchar_t* text) {
  char bytes[64] = {};
  WideCharToMultiByte(CP_ACP, 0, text, -1, bytes, sizeof bytes, nullptr, nullptr);
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "accented") == 0) {
    OutputDebugStringA(AnsiOf(L"caf\u00e9").c_str());
  } else {
    OutputDebugStringA("a");
    OutputDebugStringA("b c");
  }
  WriteOwnLine("own output\n");
  return 3;
}
