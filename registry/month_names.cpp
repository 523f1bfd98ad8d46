#include "registry/month_names.h"

#include "support/check_error.h"
#include "support/text.h"

namespace quarnel {
namespace {

constexpr const wchar_t* kDefaultNames[MonthNameTable::kSlots] = {
    L"",    L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
    L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};

std::wstring TextOf(const RegistryValue& value) {
  if (const auto* text = std::get_if<std::wstring>(&value)) return *text;
  if (const auto* number = std::get_if<std::int32_t>(&value)) return DecimalText(*number);
  return std::wstring();
}

// Blanks are trimmed before the terminating NUL goes, so a name stored with
// its NUL (as the registry editor stores it) keeps trailing blanks exactly
// as the administrator typed them.
std::wstring MonthNameOf(const RegistryValue& value) {
  return StripTrailingNul(TrimSpaces(TextOf(value)));
}

}  // namespace

void MonthNameTable::Load(MachineRegistry& registry) {
  const std::lock_guard<std::mutex> lock(mutex_);
  watch_.reset();
  LoadLocked(registry);
}

void MonthNameTable::Refresh(MachineRegistry& registry) {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (watch_ && !watch_->Changed()) return;
  watch_ = registry.WatchMachineKey(kMonthNameKeyPath);
  LoadLocked(registry);
}

void MonthNameTable::LoadLocked(MachineRegistry& registry) {
  for (int month = 1; month < kSlots; ++month) {
    names_[month] = MonthNameOf(registry.ReadMachineValue(kMonthNameKeyPath, DecimalText(month)));
    if (names_[month].empty()) names_[month] = kDefaultNames[month];
  }
}

std::wstring MonthNameTable::GetMonthName(std::int16_t index) const {
  if (index < 0 || index >= kSlots) throw CheckError(ErrorNumber::SubscriptOutOfRange);
  const std::lock_guard<std::mutex> lock(mutex_);
  return names_[index];
}

MonthNameTable& ModuleMonthNames() {
  static MonthNameTable table;
  return table;
}

}  // namespace quarnel
