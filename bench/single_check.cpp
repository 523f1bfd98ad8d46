// The in-process cost of one check of one file: a loop of sa_docheck on one
// object of the registered class, as a host that checks often makes it,
// against one FindFirstFileW and FindClose of the same file.
//   single-check FILE
#include "support/windows_win32.h"
#include <objbase.h>
#include <oleauto.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/per_call.h"
#include "quarnel_h.h"  // generated from plugin/quarnel.idl
#include "support/unique_any_win32.h"

namespace {

constexpr int kCallsPerRound = 300;
constexpr int kRounds = 7;


double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// One object of the plug-in per kind, its parameter string stored.
quarnel::com_ptr<_quarnelcom> PluginFor(const CLSID& clsid, const std::wstring& parameters) {
  quarnel::com_ptr<_quarnelcom> plugin;
  if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID__quarnelcom,
                              plugin.put_void()))) {
    return plugin;
  }
  VARIANT value;
  VariantInit(&value);
  V_VT(&value) = VT_BSTR;
  V_BSTR(&value) = SysAllocString(parameters.c_str());
  plugin->put_sa_parameter(value);
  VariantClear(&value);
  return plugin;
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
  const wchar_t* const kinds[] = {L"WDATE", L"SIZE"};
  std::vector<quarnel::com_ptr<_quarnelcom>> plugins;
  for (const wchar_t* kind : kinds) {
    if (SUCCEEDED(CLSIDFromProgID(L"comQuarnel.quarnelcom", &clsid))) {
      plugins.push_back(
          PluginFor(clsid, L"#FILE=" + file + L"#WHT=" + kind + L"#CMP=GT#VAL=1#UNIT=D#"));
    }
    if (plugins.empty() || !plugins.back()) {
      std::fprintf(stderr, "single-check: the plug-in is not registered\n");
      return 2;
    }
  }
  const auto search = [&] {
    WIN32_FIND_DATAW entry;
    const HANDLE found = FindFirstFileW(file.c_str(), &entry);
    if (found != INVALID_HANDLE_VALUE) FindClose(found);
  };
  const auto check = [](_quarnelcom& plugin) {
    return [&plugin] {
      VARIANT_BOOL status = VARIANT_FALSE;
      plugin.sa_docheck(&status);
    };
  };
  // The first calls load what later calls find loaded; then the three take
  // turns, so that a busy machine weighs on all of them alike.
  search();
  for (auto& plugin : plugins) check(*plugin.get())();
  std::vector<double> searches, checks[2];
  for (int round = 0; round < kRounds; ++round) {
    searches.push_back(MicrosecondsPerCall(search, kCallsPerRound));
    for (int kind = 0; kind < 2; ++kind) {
      checks[kind].push_back(
          MicrosecondsPerCall(check(*plugins[kind].get()), kCallsPerRound));
    }
  }
  const double searchCost = Median(searches);
  std::printf("%-34s %9.1f us\n", "FindFirstFileW + FindClose", searchCost);
  for (int kind = 0; kind < 2; ++kind) {
    const double cost = Median(checks[kind]);
    std::printf("%-34ls %9.1f us %6.2fx\n", (std::wstring(L"check ") + kinds[kind]).c_str(), cost,
                cost / searchCost);
  }
  plugins.clear();
  CoUninitialize();
  return 0;
}
