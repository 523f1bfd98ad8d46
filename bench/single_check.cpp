// The in-process cost of one check of one file: a loop of sa_docheck on one
// object of the registered class, as a host that checks often makes it,
// against one FindFirstFileW and FindClose of the same file.
//   single-check FILE
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <string>

#include "quarnel_h.h"  // generated from plugin/quarnel.idl
#include "support/unique_any_win32.h"

namespace {

constexpr int kRounds = 2000;

template <typename Call>
double MicrosecondsPerCall(Call call) {
  call();  // the first call loads what later calls find loaded
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  for (int i = 0; i < kRounds; ++i) call();
  QueryPerformanceCounter(&end);
  return (end.QuadPart - start.QuadPart) * 1e6 / frequency.QuadPart / kRounds;
}

// One object of the plug-in with the parameter string stored; one check per call.
double CheckMicroseconds(_quarnelcom& plugin, const std::wstring& parameters) {
  VARIANT value;
  VariantInit(&value);
  V_VT(&value) = VT_BSTR;
  V_BSTR(&value) = SysAllocString(parameters.c_str());
  plugin.put_sa_parameter(value);
  VariantClear(&value);
  return MicrosecondsPerCall([&] {
    VARIANT_BOOL status = VARIANT_FALSE;
    plugin.sa_docheck(&status);
  });
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: single-check FILE\n");
    return 2;
  }
  const std::wstring file = argv[1];
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
  CLSID clsid;
  quarnel::com_ptr<_quarnelcom> plugin;
  if (FAILED(CLSIDFromProgID(L"comQuarnel.quarnelcom", &clsid)) ||
      FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID__quarnelcom,
                              plugin.put_void()))) {
    std::fprintf(stderr, "single-check: the plug-in is not registered\n");
    return 2;
  }
  const double search = MicrosecondsPerCall([&] {
    WIN32_FIND_DATAW entry;
    const HANDLE found = FindFirstFileW(file.c_str(), &entry);
    if (found != INVALID_HANDLE_VALUE) FindClose(found);
  });
  std::printf("%-34s %9.1f us\n", "FindFirstFileW + FindClose", search);
  for (const wchar_t* kind : {L"WDATE", L"SIZE"}) {
    const double check = CheckMicroseconds(
        *plugin.get(), L"#FILE=" + file + L"#WHT=" + kind + L"#CMP=GT#VAL=1#UNIT=D#");
    std::printf("%-34ls %9.1f us %6.1fx\n", (std::wstring(L"check ") + kind).c_str(), check,
                check / search);
  }
  plugin = {};
  CoUninitialize();
  return 0;
}
