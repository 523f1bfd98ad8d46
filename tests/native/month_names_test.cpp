#include "registry/month_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <set>
#include <thread>

#include "fake_machine.h"
#include "support/check_error.h"

namespace quarnel {
namespace {

using fake::FakeRegistry;

const wchar_t* const kDefaults[] = {L"",    L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                    L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};

std::wstring WithNul(const std::wstring& text) { return text + L'\0'; }

TEST(MonthNameTable, EverySlotIsEmptyBeforeTheFirstLoad) {
  MonthNameTable months;
  for (std::int16_t index = 0; index <= 12; ++index) EXPECT_EQ(months.GetMonthName(index), L"");
}

TEST(MonthNameTable, WithoutValuesHoldsTheDefaultNames) {
  MonthNameTable months;
  FakeRegistry registry;
  months.Load(registry);
  for (std::int16_t index = 0; index <= 12; ++index)
    EXPECT_EQ(months.GetMonthName(index), kDefaults[index]);
}

TEST(MonthNameTable, RegistryValuesOverrideTheirMonthOnly) {
  struct Case {
    const wchar_t* valueName;
    RegistryValue value;
    std::wstring name;
  };
  const Case cases[] = {
      {L"3", WithNul(L"Mrz"), L"Mrz"},
      {L"3", std::wstring(L"Mrz"), L"Mrz"},
      {L"5", WithNul(L"  Mai"), L"Mai"},
      // Blanks go before the NUL does: a name stored with its NUL keeps
      // trailing blanks, one stored without loses them.
      {L"5", WithNul(L"Mai  "), L"Mai  "},
      {L"5", std::wstring(L"Mai  "), L"Mai"},
      {L"6", WithNul(L"\tJun"), L"\tJun"},
      // Only one NUL goes.
      {L"6", std::wstring(L"Jn\0\0", 4), std::wstring(L"Jn\0", 3)},
      {L"12", WithNul(L""), L"Dec"},
      {L"12", std::wstring(), L"Dec"},
      {L"12", WithNul(L"   "), L"Dec"},
      {L"12", std::wstring(L"   "), L"Dec"},
      {L"7", std::int32_t{7}, L"7"},
      {L"7", std::int32_t{-1}, L"-1"},
      {L"7", std::int32_t{0}, L"0"},
      {L"1", RegistryValue(), L"Jan"},
  };
  for (const auto& c : cases) {
    MonthNameTable months;
    FakeRegistry registry;
    registry.Set(c.valueName, c.value);
    months.Load(registry);
    const int overridden = std::stoi(c.valueName);
    for (std::int16_t index = 1; index <= 12; ++index) {
      const std::wstring expected = index == overridden ? c.name : kDefaults[index];
      EXPECT_EQ(months.GetMonthName(index), expected) << "value " << c.valueName;
    }
  }
}

TEST(MonthNameTable, ReadsValuesOneToTwelveOfItsKeyOnly) {
  MonthNameTable months;
  FakeRegistry registry;
  registry.Set(L"0", WithNul(L"Zero"));
  registry.Set(L"13", WithNul(L"Thirteen"));
  registry.Set(L"01", WithNul(L"Leading zero"));
  registry.Set(L"2", WithNul(L"Elsewhere"), L"SOFTWARE\\Orvelline\\Tarrowind\\COMCheck");
  months.Load(registry);
  const std::vector<std::wstring> expectedReads = {L"1", L"2", L"3", L"4",  L"5",  L"6",
                                                   L"7", L"8", L"9", L"10", L"11", L"12"};
  EXPECT_EQ(registry.ReadValueNames(), expectedReads);
  for (std::int16_t index = 0; index <= 12; ++index)
    EXPECT_EQ(months.GetMonthName(index), kDefaults[index]);
}

TEST(MonthNameTable, ARemovedValueFallsBackAtTheNextLoad) {
  MonthNameTable months;
  FakeRegistry withOverride;
  withOverride.Set(L"10", WithNul(L"Okt"));
  months.Load(withOverride);
  EXPECT_EQ(months.GetMonthName(10), L"Okt");
  FakeRegistry without;
  months.Load(without);
  EXPECT_EQ(months.GetMonthName(10), L"Oct");
}

TEST(MonthNameTable, ARefreshLoadsOnlyWhenTheKeyChangedSinceTheLastLoad) {
  struct Step {
    const char* what;
    std::function<void(FakeRegistry&)> change;
    bool loads;
    const wchar_t* march;
  };
  const Step steps[] = {
      {"the first refresh", [](FakeRegistry&) {}, true, L"Mar"},
      {"nothing changed", [](FakeRegistry&) {}, false, L"Mar"},
      {"a value set", [](FakeRegistry& r) { r.Set(L"3", WithNul(L"Mrz")); }, true, L"Mrz"},
      {"nothing changed again", [](FakeRegistry&) {}, false, L"Mrz"},
      {"another key changed",
       [](FakeRegistry& r) { r.Set(L"3", WithNul(L"x"), L"SOFTWARE\\Other"); }, false, L"Mrz"},
      {"the value removed", [](FakeRegistry& r) { r.Set(L"3", RegistryValue()); }, true, L"Mar"},
      {"a key that cannot be watched",
       [](FakeRegistry& r) { r.watchable = false; }, false, L"Mar"},
      {"never watched", [](FakeRegistry& r) { r.Set(L"3", WithNul(L"M")); }, true, L"M"},
      {"still never watched", [](FakeRegistry&) {}, true, L"M"},
  };
  MonthNameTable months;
  FakeRegistry registry;
  std::size_t reads = 0;
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.change(registry);
    months.Refresh(registry);
    const std::size_t now = registry.ReadValueNames().size();
    EXPECT_EQ(now - reads, step.loads ? 12u : 0u);
    reads = now;
    EXPECT_EQ(months.GetMonthName(3), step.march);
  }
}

TEST(MonthNameTable, AnIndexOutsideTheTableIsOutOfRange) {
  MonthNameTable months;
  for (std::int16_t index : {std::int16_t{-1}, std::int16_t{13}, std::int16_t{-32768},
                             std::int16_t{32767}}) {
    try {
      months.GetMonthName(index);
      ADD_FAILURE() << "no error for " << index;
    } catch (const CheckError& error) {
      EXPECT_EQ(error.number(), 9);
    }
  }
}

TEST(MonthNameTable, TheModuleSharesOneTable) {
  EXPECT_EQ(&ModuleMonthNames(), &ModuleMonthNames());
}

// Objects on several threads load and read the module's table at once.
// Each loader's names live on the heap and differ in length from the
// others', so that an unguarded load frees a buffer that a reader is still
// copying, which the address sanitizer reports.
TEST(MonthNameTable, LoadsAndReadsFromSeveralThreadsAtOnce) {
  constexpr int kLoaders = 3, kReaders = 3, kRounds = 200;
  std::vector<std::unique_ptr<FakeRegistry>> registries;
  std::vector<std::set<std::wstring>> allowed(13);
  for (int loader = 0; loader < kLoaders; ++loader) {
    registries.push_back(std::make_unique<FakeRegistry>());
    for (int month = 1; month <= 12; ++month) {
      const std::wstring name = L"loader " + std::to_wstring(loader) + L" month " +
                                std::to_wstring(month) + std::wstring(20 + 40 * loader, L'.');
      registries.back()->Set(std::to_wstring(month), WithNul(name));
      allowed[month].insert(name);
    }
  }
  for (auto& names : allowed) names.insert(L"");

  MonthNameTable months;
  std::atomic<int> unexpected{0};
  std::vector<std::thread> threads;
  for (int loader = 0; loader < kLoaders; ++loader) {
    threads.emplace_back([&, loader] {
      for (int round = 0; round < kRounds; ++round) months.Load(*registries[loader]);
    });
  }
  for (int reader = 0; reader < kReaders; ++reader) {
    threads.emplace_back([&] {
      for (int round = 0; round < kRounds; ++round) {
        for (std::int16_t index = 0; index <= 12; ++index) {
          if (!allowed[index].count(months.GetMonthName(index))) ++unexpected;
        }
      }
    });
  }
  for (auto& thread : threads) thread.join();

  EXPECT_EQ(unexpected.load(), 0);
  for (std::int16_t index = 1; index <= 12; ++index)
    EXPECT_NE(months.GetMonthName(index), L"");
}

TEST(StripTrailingNul, RemovesAtMostOneFinalNul) {
  struct Case {
    std::wstring text, stripped;
  };
  const Case cases[] = {
      {std::wstring(L"Mrz\0", 4), L"Mrz"},
      {std::wstring(L"\0", 1), L""},
      {L"", L""},
      {L"Mrz", L"Mrz"},
      {std::wstring(L"a\0\0", 3), std::wstring(L"a\0", 2)},
      {std::wstring(L"a\0b", 3), std::wstring(L"a\0b", 3)},
  };
  for (const auto& c : cases) EXPECT_EQ(StripTrailingNul(c.text), c.stripped);
}

}  // namespace
}  // namespace quarnel
