// Measures what the calls that a check makes cost on this machine: a trace
// line to the debugger output, the questions that tell whether anybody can
// receive one, reading a date text back, the file-time conversion, and one
// registry read of a month name.
#include "support/windows_win32.h"
#include <oleauto.h>

#include <cstdio>

#include "bench/per_call.h"

namespace {

constexpr int kCalls = 5000;

void Print(const char* call, double microseconds) {
  std::printf("%-44s %8.3f us\n", call, microseconds);
}

using QuerySystemInformation = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
constexpr ULONG kSystemKernelDebuggerInformation = 35;

}  // namespace

int main() {
  Print("OutputDebugStringA, nobody listening", MicrosecondsPerCall([] {
          OutputDebugStringA("GetFileLastWriteDate - Z:\\tmp\\f000001.log : 8-Dec-2026 15:44:31");
        }, kCalls));
  Print("IsDebuggerPresent", MicrosecondsPerCall([] { IsDebuggerPresent(); }, kCalls));
  const auto query = reinterpret_cast<QuerySystemInformation>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  Print("NtQuerySystemInformation(kernel debugger)", MicrosecondsPerCall([&] {
          unsigned char information[2];
          query(kSystemKernelDebuggerInformation, information, sizeof information, nullptr);
        }, kCalls));
  Print("OpenFileMappingW of a missing DBWIN_BUFFER", MicrosecondsPerCall([] {
          const HANDLE mapping = OpenFileMappingW(FILE_MAP_READ, FALSE, L"DBWIN_BUFFER");
          if (mapping) CloseHandle(mapping);
        }, kCalls));
  wchar_t dateText[] = L"8-Dec-2026 15:44:31";
  Print("VarDateFromStr", MicrosecondsPerCall([&] {
          DATE value;
          VarDateFromStr(dateText, LOCALE_USER_DEFAULT, 0, &value);
        }, kCalls));
  Print("file time to local calendar fields", MicrosecondsPerCall([] {
          const FILETIME utc{0x12345678, 0x01d00000};
          FILETIME local;
          SYSTEMTIME fields;
          FileTimeToLocalFileTime(&utc, &local);
          FileTimeToSystemTime(&local, &fields);
        }, kCalls));
  Print("registry open + query + close", MicrosecondsPerCall([] {
          HKEY key;
          if (RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                            "SOFTWARE\\Orvelline\\Tarrowind\\COMCheck\\W00000006", 0,
                            KEY_READ | KEY_WOW64_32KEY, &key) == ERROR_SUCCESS) {
            DWORD type, size = 0;
            RegQueryValueExA(key, "1", nullptr, &type, nullptr, &size);
            RegCloseKey(key);
          }
        }, kCalls));
  return 0;
}
