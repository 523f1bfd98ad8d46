// Long runs of the plug-in object, as a host that never restarts drives it:
// many checks on one object and many objects made and released, with the
// process's open handles and private memory measured before and after.
// Both must stay flat: a handle or a few bytes kept per check would add up.
//
// The short form runs 1,002 checks and 200 objects. With QUARNEL_LONG_RUN=full
// in the environment it runs 10,002 checks and 1,000 objects, about a minute
// under Wine; the test command runs both (ctest entries long_run_test and
// long_run_full, the latter with the label "long").

#include "support/windows_win32.h"
#include <psapi.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "com_client.h"
#include "support/unique_any_win32.h"
#include "test_files.h"

namespace quarnel {
namespace {

const testing::Environment* const apartment =
    testing::AddGlobalTestEnvironment(new MainThreadApartment);

bool FullRun() {
  char value[8] = "";
  return GetEnvironmentVariableA("QUARNEL_LONG_RUN", value, sizeof value) > 0 &&
         std::string(value) == "full";
}

// The open kernel handles of this process, counted by asking each possible
// handle value for its flags: GetProcessHandleCount answers 0 under Wine.
// Find handles and registry keys hold kernel handles, so they count too.
int OpenHandleCount() {
  constexpr std::uintptr_t kHighestProbed = 4 * 65536;
  int count = 0;
  for (std::uintptr_t value = 4; value < kHighestProbed; value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
  }
  return count;
}

// The process's committed private memory. Wine leaves PrivateUsage at 0;
// PagefileUsage is the same commit charge and Wine fills it in.
SIZE_T PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                       sizeof counters);
  return counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
}

// The bytes of every block in use on the process's heaps (the runtime's
// allocations and the BSTRs among them): a leak shows here to the byte,
// long before it grows the commit charge by a page.
SIZE_T HeapBytesInUse() {
  HANDLE heaps[256];
  const DWORD count = GetProcessHeaps(256, heaps);
  SIZE_T total = 0;
  for (DWORD i = 0; i < count && i < 256; ++i) {
    if (!HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heaps[i], &entry)) {
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += entry.cbData;
    }
    HeapUnlock(heaps[i]);
  }
  return total;
}

struct Usage {
  int handles;
  SIZE_T privateBytes;
  SIZE_T heapBytes;
};

Usage MeasureUsage() { return {OpenHandleCount(), PrivateBytes(), HeapBytesInUse()}; }

// Pages that the allocator keeps for reuse come and go with the sizes of
// the texts; blocks in use vary by the runtime's caches (oleaut32 keeps
// freed BSTRs). A leak of a few bytes per check grows beyond both over the
// run.
constexpr SIZE_T kPrivateMemoryNoise = 1024 * 1024;
constexpr SIZE_T kHeapNoise = 2 * 1024;

void ReportUsage(const char* run, int count, const Usage& before, const Usage& after) {
  std::printf("%s: %d; handles %d -> %d; private bytes %llu -> %llu; heap bytes in use %llu -> %llu\n",
              run, count, before.handles, after.handles,
              static_cast<unsigned long long>(before.privateBytes),
              static_cast<unsigned long long>(after.privateBytes),
              static_cast<unsigned long long>(before.heapBytes),
              static_cast<unsigned long long>(after.heapBytes));
}

void ExpectFlat(const Usage& before, const Usage& after) {
  EXPECT_EQ(after.handles, before.handles);
  EXPECT_LE(after.privateBytes, before.privateBytes + kPrivateMemoryNoise);
  EXPECT_LE(after.heapBytes, before.heapBytes + kHeapNoise);
}

// One check of each kind that opens something: the listing (a find handle
// per check), one file's date (a search of its own), the oldest file,
// nothing found, a share connection to the server "C:" that the system
// refuses (the networking library loaded and freed), and the error report
// of a Null parameter string. Every check also reads
// the month names' registry key.
class CheckRound {
 public:
  explicit CheckRound(const std::wstring& directory)
      : checks_{
            {L"#FILE=" + directory + L"\\*.log#WHT=SIZE#CMP=GT#VAL=1#UNIT=KB#",
             L"Size of " + directory + L"\\*.log is 2.0 KB"},
            {L"#FILE=" + directory + L"\\app3.log#WHT=WDATE#CMP=GT#VAL=60#UNIT=N#",
             directory + L"\\app3.log was written "},
            {L"#FILE=" + directory + L"\\app*.log#WHT=OLDWRITE#CMP=GT#VAL=60#UNIT=N#",
             directory + L"\\app"},
            {L"#FILE=" + directory + L"\\missing*.log#WHT=SIZE#FNF=T#", L"No matching files"},
            {L"#FILE=" + directory + L"\\*.log#WHT=SIZE#AUTH=T#USR=u#PWD=cHc=#", L""},
        } {}

  // Runs every check once and checks the beginning of its result.
  void Run(_quarnelcom* plugin) {
    for (const auto& [parameterString, resultBegins] : checks_) {
      ASSERT_EQ(PutParameterString(plugin, parameterString), S_OK);
      const CheckOutcome check = RunCheck(plugin);
      ASSERT_EQ(check.call, S_OK);
      ASSERT_EQ(check.result.substr(0, resultBegins.size()), resultBegins);
    }
    unique_variant null;
    V_VT(null.put()) = VT_NULL;
    ASSERT_EQ(plugin->put_sa_parameter(null.get()), S_OK);
    const CheckOutcome check = RunCheck(plugin);
    ASSERT_EQ(check.call, S_OK);
    ASSERT_EQ(check.status, VARIANT_FALSE);
    ASSERT_EQ(check.result.rfind(L"ERR: Invalid use of Null (94)", 0), 0u);
  }

  static constexpr int kChecks = 6;

 private:
  std::vector<std::pair<std::wstring, std::wstring>> checks_;
};

class LongRun : public testing::Test {
 protected:
  // A directory of twenty logs of 100 bytes each.
  LongRun() {
    for (int i = 0; i < 20; ++i) logs_.MakeFile(L"app" + std::to_wstring(i) + L".log", 100);
  }

  const TestDirectory logs_{L"long"};
  CheckRound round_{logs_.path()};
};

TEST_F(LongRun, ManyChecksOnOneObjectKeepHandlesAndMemoryFlat) {
  const int checks = FullRun() ? 10000 : 1000;
  const int rounds = (checks + CheckRound::kChecks - 1) / CheckRound::kChecks;
  const com_ptr<_quarnelcom> plugin = CreatePlugin();
  ASSERT_TRUE(plugin);
  // The first rounds load what the runtime keeps for the process's life.
  for (int i = 0; i < 20; ++i) ASSERT_NO_FATAL_FAILURE(round_.Run(plugin.get()));
  const Usage before = MeasureUsage();
  for (int i = 0; i < rounds; ++i) ASSERT_NO_FATAL_FAILURE(round_.Run(plugin.get()));
  const Usage after = MeasureUsage();
  ReportUsage("checks on one object", rounds * CheckRound::kChecks, before, after);
  ExpectFlat(before, after);
}

TEST_F(LongRun, ManyObjectsMadeAndReleasedKeepHandlesAndMemoryFlat) {
  const int objects = FullRun() ? 1000 : 200;
  const auto cycle = [&] {
    const com_ptr<_quarnelcom> plugin = CreatePlugin();
    ASSERT_TRUE(plugin);
    ASSERT_NO_FATAL_FAILURE(round_.Run(plugin.get()));
  };
  for (int i = 0; i < 20; ++i) ASSERT_NO_FATAL_FAILURE(cycle());
  const Usage before = MeasureUsage();
  for (int i = 0; i < objects; ++i) ASSERT_NO_FATAL_FAILURE(cycle());
  const Usage after = MeasureUsage();
  ReportUsage("objects made and released", objects, before, after);
  ExpectFlat(before, after);
}

// Once every object and server lock is gone, the DLL may be unloaded.
TEST_F(LongRun, TheModuleCanUnloadOnceEverythingIsReleased) {
  const PluginModule module;
  ASSERT_TRUE(module.loaded());

  std::vector<com_ptr<_quarnelcom>> plugins;
  for (int i = 0; i < 50; ++i) {
    plugins.push_back(CreatePlugin());
    ASSERT_NO_FATAL_FAILURE(round_.Run(plugins.back().get()));
  }
  com_ptr<IClassFactory> factory = GetPluginFactory();
  ASSERT_TRUE(factory);
  ASSERT_EQ(factory->LockServer(TRUE), S_OK);
  EXPECT_EQ(module.CanUnloadNow(), S_FALSE);

  plugins.clear();
  EXPECT_EQ(module.CanUnloadNow(), S_FALSE) << "the server lock and the factory still hold it";
  ASSERT_EQ(factory->LockServer(FALSE), S_OK);
  factory.reset();
  EXPECT_EQ(module.CanUnloadNow(), S_OK);
}

}  // namespace
}  // namespace quarnel
