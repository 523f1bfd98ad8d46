// Objects on four apartment threads at once, each thread with objects of
// its own, all checking the same files for a few seconds. The month-name
// table is module-wide and every check reloads it. Every result must be
// exactly the one that a check alone gives.

#include "support/windows_win32.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "com_client.h"
#include "support/unique_any_win32.h"
#include "test_files.h"

namespace quarnel {
namespace {

constexpr int kThreads = 4;
constexpr int kObjectsPerThread = 2;
constexpr auto kRunTime = std::chrono::seconds(4);
constexpr ULONGLONG kTicksPerDay = 864000000000ull;

// The test's own thread enters an apartment first, as a host's main thread
// does. Under Wine, two threads that enter the process's first apartments at
// the same moment can block each other inside CoInitializeEx and
// CoCreateInstance, before any plug-in code runs.
const testing::Environment* const mainApartment =
    testing::AddGlobalTestEnvironment(new MainThreadApartment);

ULONGLONG TicksOf(const FILETIME& time) {
  return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// Local midnight of 1 January 2020 plus `hours`, as the UTC file time that
// the plug-in shows as that local time.
FILETIME LocalTimeIn2020(WORD hours) {
  SYSTEMTIME local{2020, 1, 0, 1, hours, 0, 0, 0};
  FILETIME localTime, utc;
  SystemTimeToFileTime(&local, &localTime);
  LocalFileTimeToFileTime(&localTime, &utc);
  return utc;
}

// Whole days from 1 January 2020 to today, by local calendar dates.
long DaysSince2020() {
  SYSTEMTIME today;
  GetLocalTime(&today);
  today.wHour = today.wMinute = today.wSecond = today.wMilliseconds = 0;
  SYSTEMTIME first{2020, 1, 0, 1, 0, 0, 0, 0};
  FILETIME todayTime, firstTime;
  SystemTimeToFileTime(&today, &todayTime);
  SystemTimeToFileTime(&first, &firstTime);
  return static_cast<long>((TicksOf(todayTime) - TicksOf(firstTime)) / kTicksPerDay);
}

// Three logs of 10, 20 and 30 bytes; a.log was last written on 1 January
// 2020 at 06:00 local time, the others at noon.
void MakeLogs(const TestDirectory& logs) {
  logs.MakeFile(L"a.log", 10, LocalTimeIn2020(6));
  logs.MakeFile(L"b.log", 20, LocalTimeIn2020(12));
  logs.MakeFile(L"c.log", 30, LocalTimeIn2020(12));
}

struct CheckCase {
  bool nullParameterString;
  std::wstring parameterString;
  VARIANT_BOOL status;
  // The exact result; a date result names the age in days, which the test
  // works out around the check, so that a check across midnight is right.
  std::wstring result;
  std::wstring resultBeforeDays;
  std::wstring resultAfterDays;
};

std::vector<CheckCase> CheckCases(const std::wstring& directory) {
  const std::wstring logs = directory + L"\\*.log";
  return {
      {false, L"#FILE=" + logs + L"#WHT=SIZE#CMP=GT#VAL=100#UNIT=B#", VARIANT_TRUE,
       L"Size of " + logs + L" is 60 B", L"", L""},
      {false, L"#FILE=" + logs + L"#WHT=SIZE#CMP=LT#VAL=1#UNIT=KB#", VARIANT_FALSE,
       L"Size of " + logs + L" is 0.1 KB", L"", L""},
      {false, L"#FILE=" + directory + L"\\none*.log#WHT=SIZE#FNF=T#", VARIANT_TRUE,
       L"No matching files", L"", L""},
      {false, L"#FILE=" + directory + L"\\none*.log#WHT=SIZE#", VARIANT_FALSE,
       L"ERR: No matching files", L"", L""},
      {true, L"", VARIANT_FALSE,
       L"ERR: Invalid use of Null (94) at 0 params: ---0- type: Double-Date-Date- pat=", L"", L""},
      {false, L"#FILE=" + directory + L"\\b.log#WHT=WDATE#CMP=LT#VAL=1#UNIT=D#", VARIANT_TRUE, L"",
       directory + L"\\b.log was written ", L" days ago"},
      {false, L"#FILE=" + logs + L"#WHT=OLDWRITE#CMP=GT#VAL=1#UNIT=D#", VARIANT_FALSE, L"",
       directory + L"\\a.log was written ", L" days ago"},
  };
}

bool ResultMatches(const CheckCase& check, const std::wstring& result, long daysBefore,
                   long daysAfter) {
  if (!check.result.empty()) return result == check.result;
  for (const long days : {daysBefore, daysAfter}) {
    if (result == check.resultBeforeDays + std::to_wstring(days) + check.resultAfterDays) return true;
  }
  return false;
}

// What one thread saw.
struct ThreadReport {
  HRESULT apartment = E_FAIL;
  int checks = 0;
  int wrong = 0;
  std::wstring firstWrong;
};

void RunChecks(const std::vector<CheckCase>& cases,
               std::chrono::steady_clock::time_point until, ThreadReport& report) {
  const ThreadApartment apartment;
  report.apartment = apartment.entered();
  if (FAILED(report.apartment)) return;
  std::vector<com_ptr<_quarnelcom>> plugins;
  for (int i = 0; i < kObjectsPerThread; ++i) {
    plugins.push_back(CreatePlugin());
    if (!plugins.back()) return;
  }
  const auto noteWrong = [&](const std::wstring& what) {
    if (report.wrong++ == 0) report.firstWrong = what;
  };
  for (std::size_t next = 0; std::chrono::steady_clock::now() < until; ++next) {
    const CheckCase& check = cases[next % cases.size()];
    _quarnelcom* plugin = plugins[next % plugins.size()].get();
    unique_variant parameterString;
    if (check.nullParameterString) {
      V_VT(parameterString.put()) = VT_NULL;
    } else {
      MakeText(parameterString.put(), check.parameterString);
    }
    plugin->put_sa_parameter(parameterString.get());
    const long daysBefore = DaysSince2020();
    const CheckOutcome outcome = RunCheck(plugin);
    const long daysAfter = DaysSince2020();
    ++report.checks;

    if (outcome.call != S_OK || outcome.status != check.status ||
        !ResultMatches(check, outcome.result, daysBefore, daysAfter)) {
      noteWrong(check.parameterString + L" gave status " + std::to_wstring(outcome.status) +
                L", " + outcome.result);
    }
  }
}

TEST(Concurrency, ObjectsOnFourApartmentThreadsCheckTheSameFilesCorrectly) {
  const TestDirectory logs(L"concurrency");
  MakeLogs(logs);
  const std::vector<CheckCase> cases = CheckCases(logs.path());
  ThreadReport reports[kThreads];
  const auto until = std::chrono::steady_clock::now() + kRunTime;
  std::vector<std::thread> threads;
  for (ThreadReport& report : reports) {
    threads.emplace_back([&cases, until, &report] { RunChecks(cases, until, report); });
  }
  for (std::thread& thread : threads) thread.join();

  int total = 0;
  for (int i = 0; i < kThreads; ++i) {
    SCOPED_TRACE("thread " + std::to_string(i));
    const ThreadReport& report = reports[i];
    EXPECT_EQ(report.apartment, S_OK);
    EXPECT_GE(report.checks, static_cast<int>(cases.size())) << "the thread ran too few checks";
    EXPECT_EQ(report.wrong, 0) << std::string(report.firstWrong.begin(), report.firstWrong.end());
    total += report.checks;
  }
  std::printf("%d checks on %d threads in %lld s\n", total, kThreads,
              static_cast<long long>(kRunTime.count()));
}

}  // namespace
}  // namespace quarnel
