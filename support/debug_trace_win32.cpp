#include "support/debug_trace_win32.h"

#include "support/windows_win32.h"

#include "support/codepage.h"
#include "support/unique_any_win32.h"

namespace quarnel {
namespace {

// Whether the named object may exist: only "not found" rules it out; a
// refused open means that it is there.
template <typename Open>
bool MayExist(Open open) {
  const unique_handle object(open());
  return object || GetLastError() != ERROR_FILE_NOT_FOUND;
}

// OutputDebugStringA hands a line to a monitor only through the DBWIN_BUFFER
// mapping and the DBWIN_DATA_READY event of the monitor; without either
// there is no monitor in that namespace.
bool MonitorMayListen(const std::wstring& prefix) {
  return MayExist([&] {
           return OpenFileMappingW(FILE_MAP_READ, FALSE, (prefix + L"DBWIN_BUFFER").c_str());
         }) &&
         MayExist([&] {
           return OpenEventW(SYNCHRONIZE, FALSE, (prefix + L"DBWIN_DATA_READY").c_str());
         });
}

// A kernel debugger receives the debugger output too.
bool KernelDebuggerMayListen() {
  using QuerySystemInformation = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
  constexpr ULONG kSystemKernelDebuggerInformation = 35;
  struct KernelDebuggerInformation {
    BOOLEAN enabled;
    BOOLEAN notPresent;
  };
  static const auto query = reinterpret_cast<QuerySystemInformation>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  KernelDebuggerInformation information{};
  if (!query || query(kSystemKernelDebuggerInformation, &information, sizeof information,
                      nullptr) < 0) {
    return true;
  }
  return information.enabled && !information.notPresent;
}

}  // namespace

void DebugTrace(const std::wstring& text) {
  OutputDebugStringA(ToAnsi(text).c_str());
}

bool SystemDebuggerOutput::DebuggerAttached() { return IsDebuggerPresent() != FALSE; }

bool SystemDebuggerOutput::OtherListenerPossible() {
  return KernelDebuggerMayListen() || MonitorMayListen(L"") || MonitorMayListen(L"Global\\");
}

std::uint64_t SystemDebuggerOutput::Microseconds() {
  static const LONGLONG frequency = [] {
    LARGE_INTEGER value;
    QueryPerformanceFrequency(&value);
    return value.QuadPart;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<std::uint64_t>(now.QuadPart / frequency * 1000000 +
                                    now.QuadPart % frequency * 1000000 / frequency);
}

}  // namespace quarnel
