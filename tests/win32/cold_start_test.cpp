// A host that starts many threads at once, each creating its first object
// in an apartment of its own while the DLL is not yet loaded. Under Wine a
// thread that loads comctl32.dll while another one enters an apartment can
// hang both, so the plug-in loads nothing at its own load that only the
// dialog needs. The threads must all have checked well within the bound;
// a process that hangs in the loader could not even end, so it is ended.

#include "support/windows_win32.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>

#include "com_client.h"
#include "support/codepage.h"
#include "support/unique_any_win32.h"

namespace quarnel {
namespace {

constexpr int kThreads = 16;
constexpr DWORD kBoundMilliseconds = 30000;

struct ThreadRun {
  HANDLE start = nullptr;
  HRESULT created = E_FAIL;
  CheckOutcome outcome{};
};

DWORD WINAPI CreateFirstObject(void* parameter) {
  auto& run = *static_cast<ThreadRun*>(parameter);
  WaitForSingleObject(run.start, INFINITE);
  const ThreadApartment apartment;
  CLSID clsid{};
  com_ptr<_quarnelcom> plugin;
  run.created = CLSIDFromProgID(kPluginProgId, &clsid);
  if (SUCCEEDED(run.created)) {
    run.created =
        CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID__quarnelcom, plugin.put_void());
  }
  if (SUCCEEDED(run.created) &&
      SUCCEEDED(PutParameterString(plugin.get(),
                                   L"#FILE=C:\\windows\\win.ini#WHT=SIZE#CMP=LT#VAL=0#UNIT=B#"))) {
    run.outcome = RunCheck(plugin.get());
  }
  return 0;
}

TEST(ColdStart, SixteenThreadsCreateTheirFirstObjectsAtOnce) {
  ASSERT_EQ(GetModuleHandleW(L"comquarnel.dll"), nullptr) << "the DLL is loaded before the test";
  const unique_handle start(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::array<ThreadRun, kThreads> runs;
  std::array<unique_handle, kThreads> threads;
  std::array<HANDLE, kThreads> handles{};
  for (int i = 0; i < kThreads; ++i) {
    runs[i].start = start.get();
    threads[i].reset(CreateThread(nullptr, 0, CreateFirstObject, &runs[i], 0, nullptr));
    ASSERT_TRUE(threads[i]);
    handles[i] = threads[i].get();
  }
  SetEvent(start.get());
  if (WaitForMultipleObjects(kThreads, handles.data(), TRUE, kBoundMilliseconds) != WAIT_OBJECT_0) {
    std::printf("FAILED: the %d threads did not all create an object and check within %lu ms\n",
                kThreads, static_cast<unsigned long>(kBoundMilliseconds));
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), 1);
  }
  // Neither the objects nor their checks loaded what only the dialog needs.
  EXPECT_EQ(GetModuleHandleW(L"comctl32.dll"), nullptr);
  for (const ThreadRun& run : runs) {
    EXPECT_EQ(run.created, S_OK);
    EXPECT_EQ(run.outcome.call, S_OK);
    EXPECT_EQ(run.outcome.status, VARIANT_TRUE) << ToAnsi(run.outcome.result);
  }
}

}  // namespace
}  // namespace quarnel
