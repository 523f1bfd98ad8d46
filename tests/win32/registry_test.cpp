// The registry of the test's own Wine prefix, where the test runs as the
// administrator: the month-name key is removed before and after each test,
// in both registry views. The plug-in's view is the 32-bit one.

#include "support/windows_win32.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "registry/month_names.h"
#include "registry/registry_win32.h"
#include "support/codepage.h"
#include "support/unique_any_win32.h"

namespace quarnel {
namespace {

const std::string kKeyPath = ToAnsi(kMonthNameKeyPath);

std::wstring WithNul(const std::wstring& text) { return text + L'\0'; }

class Registry : public ::testing::Test {
 protected:
  void SetUp() override { RemoveKey(); }
  void TearDown() override { RemoveKey(); }

  static void RemoveKey() {
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY})
      RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kKeyPath.c_str(), view, 0);
  }

  static unique_hkey OpenKey(REGSAM view = KEY_WOW64_32KEY) {
    unique_hkey key;
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKeyPath.c_str(), 0, KEY_ALL_ACCESS | view, key.put());
    return key;
  }

  static void SetValue(const std::string& name, DWORD type, const void* data, DWORD size,
                       REGSAM view = KEY_WOW64_32KEY) {
    unique_hkey key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKeyPath.c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS | view, nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
  }
  // A text value stored with or without its terminating NUL.
  static void SetText(const std::string& name, const std::string& text, bool withNul = true,
                      REGSAM view = KEY_WOW64_32KEY) {
    SetValue(name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + (withNul ? 1 : 0)), view);
  }
  static void SetNumber(const std::string& name, DWORD number) {
    SetValue(name, REG_DWORD, &number, sizeof(number));
  }

  static RegistryValue Read(const std::wstring& valueName) {
    SystemRegistry registry;
    return registry.ReadMachineValue(kMonthNameKeyPath, valueName);
  }

  static DWORD ValueCount(HKEY key) {
    DWORD values = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                     nullptr, nullptr, nullptr);
    return values;
  }
};

TEST_F(Registry, AMissingKeyIsCreatedEmptyAndReadsAsNothing) {
  EXPECT_FALSE(OpenKey());
  EXPECT_EQ(Read(L"1"), RegistryValue());
  const unique_hkey created = OpenKey();
  ASSERT_TRUE(created);
  EXPECT_EQ(ValueCount(created.get()), 0u);
  EXPECT_EQ(Read(L"1"), RegistryValue());
}

TEST_F(Registry, ReadsTextsAsStoredAndNumbersAsSigned) {
  SetText("3", "Mrz");
  SetText("4", "Apr", false);
  SetText("5", "");
  SetText("6", "  Jun  ");
  SetNumber("7", 7);
  SetNumber("8", 0xFFFFFFFFu);
  EXPECT_EQ(Read(L"3"), RegistryValue(WithNul(L"Mrz")));
  // Windows gives a text stored without its NUL back without one; Wine's
  // ANSI query adds it. Either way the text itself comes back.
  const RegistryValue withoutNul = Read(L"4");
  ASSERT_TRUE(std::holds_alternative<std::wstring>(withoutNul));
  EXPECT_EQ(StripTrailingNul(std::get<std::wstring>(withoutNul)), L"Apr");
  EXPECT_EQ(Read(L"5"), RegistryValue(WithNul(L"")));
  EXPECT_EQ(Read(L"6"), RegistryValue(WithNul(L"  Jun  ")));
  EXPECT_EQ(Read(L"7"), RegistryValue(std::int32_t{7}));
  EXPECT_EQ(Read(L"8"), RegistryValue(std::int32_t{-1}));
  EXPECT_EQ(Read(L"9"), RegistryValue());
}

TEST_F(Registry, OtherValueTypesReadAsNothing) {
  const char binary[] = {1, 2, 3};
  const char expand[] = "%WINDIR%";
  const char multi[] = "Mrz\0Mar\0";
  SetValue("1", REG_BINARY, binary, sizeof(binary));
  SetValue("2", REG_EXPAND_SZ, expand, sizeof(expand));
  SetValue("3", REG_MULTI_SZ, multi, sizeof(multi));
  const unique_hkey key = OpenKey();
  for (const wchar_t* name : {L"1", L"2", L"3"}) {
    RegistryValue value = std::wstring(L"as before");
    EXPECT_EQ(QueryRegistryValue(key.get(), name, value), kUnsupportedValueType) << name;
    EXPECT_EQ(value, RegistryValue(std::wstring(L"as before"))) << name;
    EXPECT_EQ(Read(name), RegistryValue()) << name;
  }
  RegistryValue missing;
  EXPECT_EQ(QueryRegistryValue(key.get(), L"10", missing), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(missing, RegistryValue());
}

TEST_F(Registry, TheMonthNameTableTakesTheMachinesOverrides) {
  SetText("1", "  Jan\xe9");
  SetText("2", "Feb  ");
  SetText("3", "Mrz", false);
  SetText("4", "");
  SetText("5", "   ");
  SetNumber("6", 6);
  const char binary[] = {'J', 'u', 'l', 0};
  SetValue("7", REG_BINARY, binary, sizeof(binary));
  SetValue("8", REG_EXPAND_SZ, "Aug2", 5);
  SetValue("9", REG_MULTI_SZ, "Sep2\0\0", 6);
  SetText("0", "Zero");
  SetText("13", "Thirteen");
  SetText("01", "Leading zero");
  SetText("12", "Dez");

  MonthNameTable months;
  SystemRegistry registry;
  months.Load(registry);
  const std::wstring expected[] = {L"",    L"Jan\u00e9", L"Feb  ", L"Mrz", L"Apr", L"May", L"6",
                                   L"Jul", L"Aug",       L"Sep",   L"Oct", L"Nov", L"Dez"};
  for (std::int16_t index = 0; index <= 12; ++index)
    EXPECT_EQ(months.GetMonthName(index), expected[index]) << index;
}

TEST_F(Registry, WithoutTheKeyTheTableHoldsTheDefaultsAndTheKeyExists) {
  MonthNameTable months;
  SystemRegistry registry;
  months.Load(registry);
  const wchar_t* const defaults[] = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                     L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
  for (std::int16_t month = 1; month <= 12; ++month)
    EXPECT_EQ(months.GetMonthName(month), defaults[month - 1]);
  EXPECT_TRUE(OpenKey());
}

// In a 64-bit prefix the two views hold two keys: both builds read the
// 32-bit one, which the 32-bit host keeps, and create only that one.
TEST_F(Registry, TheMonthNamesLiveInThe32BitViewOnly) {
  BOOL wow64 = FALSE;
  IsWow64Process(GetCurrentProcess(), &wow64);
  if (sizeof(void*) == 4 && !wow64) GTEST_SKIP() << "a 32-bit prefix has one view";
  MonthNameTable months;
  SystemRegistry registry;
  months.Load(registry);
  EXPECT_TRUE(OpenKey(KEY_WOW64_32KEY));
  EXPECT_FALSE(OpenKey(KEY_WOW64_64KEY));
  SetText("3", "March", true, KEY_WOW64_32KEY);
  SetText("3", "MARCH", true, KEY_WOW64_64KEY);
  SetText("4", "APRIL", true, KEY_WOW64_64KEY);
  months.Load(registry);
  EXPECT_EQ(months.GetMonthName(3), L"March");
  EXPECT_EQ(months.GetMonthName(4), L"Apr");
}

// Counts the reads that reach the registry.
class CountingRegistry : public SystemRegistry {
 public:
  int reads = 0;
  RegistryValue ReadMachineValue(const std::wstring& keyPath,
                                 const std::wstring& valueName) override {
    ++reads;
    return SystemRegistry::ReadMachineValue(keyPath, valueName);
  }
};

TEST_F(Registry, TheTableIsReloadedAfterAChangeOfItsKeyAndNotOtherwise) {
  struct Step {
    const char* what;
    std::function<void()> change;
    bool loads;
    const wchar_t* march;
  };
  const Step steps[] = {
      {"the first refresh, without the key", [] {}, true, L"Mar"},
      {"nothing changed", [] {}, false, L"Mar"},
      {"a value set", [] { SetText("3", "Mrz"); }, true, L"Mrz"},
      {"nothing changed again", [] {}, false, L"Mrz"},
      {"a value of the parent key set",
       [] {
         unique_hkey parent;
         RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orvelline\\Tarrowind\\COMCheck", 0, nullptr,
                         0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, parent.put(), nullptr);
         RegSetValueExA(parent.get(), "3", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
         RegDeleteValueA(parent.get(), "3");
       },
       false, L"Mrz"},
      {"the value deleted", [] { RegDeleteValueA(OpenKey().get(), "3"); }, true, L"Mar"},
      {"the key deleted", [] { RemoveKey(); }, true, L"Mar"},
      {"a value set in the key made anew", [] { SetText("3", "Mz"); }, true, L"Mz"},
      {"nothing changed at last", [] {}, false, L"Mz"},
  };
  MonthNameTable months;
  CountingRegistry registry;
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.change();
    registry.reads = 0;
    months.Refresh(registry);
    EXPECT_EQ(registry.reads, step.loads ? 12 : 0);
    EXPECT_EQ(months.GetMonthName(3), step.march);
    EXPECT_TRUE(OpenKey());
  }
}

}  // namespace
}  // namespace quarnel
