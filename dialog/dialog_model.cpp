#include "dialog/dialog_model.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "params/parameter_vocabulary.h"
#include "support/check_error.h"
#include "support/codepage.h"
#include "support/text.h"

namespace quarnel {
namespace {

using EntryList = std::vector<std::wstring>;

// The kind list, at the dialog index of the kinds of the vocabulary.
const EntryList& KindEntries() {
  static const EntryList entries{L"size", L"creation date", L"last write date",
                                 L"number of files"};
  return entries;
}
// The oldest/youngest list: which match a listing of dates picks.
constexpr std::array<Pick, 2> kPickEntries{Pick::Oldest, Pick::Youngest};
const EntryList& OldestYoungestEntries() {
  static const EntryList entries{L"of the oldest matching file", L"of the youngest matching file"};
  return entries;
}
const EntryList& SizeComparisonEntries() {
  static const EntryList entries{L"is smaller", L"is bigger", L"is equal to", L"is not equal to"};
  return entries;
}
const EntryList& DateComparisonEntries() {
  static const EntryList entries{L"is less", L"is more"};
  return entries;
}
EntryList UnitEntries(Quantity quantity) {
  EntryList entries;
  for (const Unit& unit : kUnits) {
    if (unit.quantity == quantity) entries.emplace_back(unit.label);
  }
  return entries;
}

// A number that shows the regional digit grouping in the refusal's message.
constexpr wchar_t kGroupingExample[] = L"1234567";

// The largest magnitude whose 15-digit form still reads back as a double:
// 1.7976931348623157E+308 (the largest double) would be written rounded up
// to 1.79769313486232E+308, beyond the range, and the check run would fail
// on it with an overflow.
constexpr double kLargestWritableValue = 1.79769313486231e308;

constexpr int kDefaultComparison = 1;  // "is bigger" / "is more"

// The kinds that an entry of the kind list stands for: one kind, or a date
// and the listings that pick the oldest or the youngest match by it. The
// first of them, nullptr for an index without an entry.
const Kind* KindAtIndex(int index) {
  for (const Kind& kind : kKinds) {
    if (kind.dialogIndex == index) return &kind;
  }
  return nullptr;
}

// Whether the oldest/youngest box takes part for the kind list's entry.
bool EntryPicks(int index) {
  return std::any_of(kKinds.begin(), kKinds.end(), [&](const Kind& kind) {
    return kind.dialogIndex == index && kind.pick != Pick::None;
  });
}

// The codes of the parameter string stand at the index of their list entry.
template <typename Codes, typename Code>
int IndexOfCode(const Codes& codes, const Code& code, int otherwise) {
  for (std::size_t i = 0; i < codes.size(); ++i) {
    if (codes[i] == code) return static_cast<int>(i);
  }
  return otherwise;
}

template <typename Codes>
std::wstring CodeAt(const Codes& codes, int index, std::wstring_view otherwise) {
  if (index >= 0 && index < static_cast<int>(codes.size())) return std::wstring(codes[index]);
  return std::wstring(otherwise);
}

// The group sizes of a regional grouping, from the right. A last size 0
// repeats the size before it; a grouping that ends without it leaves the
// digits beyond its groups ungrouped, and a 0 anywhere else ends it there.
struct GroupSizes {
  std::vector<std::size_t> sizes;
  bool repeatLast = false;
};

GroupSizes ReadGroupSizes(const std::wstring& text) {
  constexpr std::size_t kLargestSize = 9;  // the system writes one digit per size
  GroupSizes groups;
  std::size_t size = 0;
  bool inSize = false;
  for (const wchar_t c : text + L";") {
    if (IsDigit(c)) {
      size = std::min(size * 10 + static_cast<std::size_t>(c - L'0'), kLargestSize);
      inSize = true;
    } else if (c == L';' && inSize) {
      if (size == 0) {
        groups.repeatLast = !groups.sizes.empty();
        break;
      }
      groups.sizes.push_back(size);
      size = 0;
      inSize = false;
    }
  }
  return groups;
}

// The digits with the regional grouping: "1234567" gives "1,234,567" with
// "," and "3;0", "12,34,567" with "3;2;0".
std::wstring GroupDigits(const std::wstring& digits, const DigitGrouping& grouping) {
  const GroupSizes groups = ReadGroupSizes(grouping.sizes);
  std::wstring reversed;
  std::size_t done = 0;
  for (std::size_t index = 0; done < digits.size(); ++index) {
    const std::size_t left = digits.size() - done;
    std::size_t size = index < groups.sizes.size() ? groups.sizes[index]
                       : groups.repeatLast         ? groups.sizes.back()
                                                   : left;
    size = std::min(size, left);
    if (done > 0) reversed.append(grouping.separator.rbegin(), grouping.separator.rend());
    reversed.append(digits.rbegin() + static_cast<std::ptrdiff_t>(done),
                    digits.rbegin() + static_cast<std::ptrdiff_t>(done + size));
    done += size;
  }
  return std::wstring(reversed.rbegin(), reversed.rend());
}

// One switch per kind of control serves the view (read only) and the model.
template <typename State>
auto& TextField(State& state, TextBox box) {
  switch (box) {
    case TextBox::txtFile: return state.txtFile;
    case TextBox::txtSize: return state.txtSize;
    case TextBox::txtUsername: return state.txtUsername;
    case TextBox::txtPassword: return state.txtPassword;
    case TextBox::txtTimeout: return state.txtTimeout;
  }
  std::abort();
}

template <typename State>
auto& ComboField(State& state, ComboBox box) {
  switch (box) {
    case ComboBox::cmbWhat: return state.cmbWhat;
    case ComboBox::cmbOYFile: return state.cmbOYFile;
    case ComboBox::cmbCompare: return state.cmbCompare;
    case ComboBox::cmbUnit: return state.cmbUnit;
  }
  std::abort();
}

template <typename State>
auto& CheckField(State& state, CheckBox box) {
  switch (box) {
    case CheckBox::chkAuthentication: return state.chkAuthentication;
    case CheckBox::chkunknownfile: return state.chkunknownfile;
    case CheckBox::chkDebug: return state.chkDebug;
    case CheckBox::chkSubfolders: return state.chkSubfolders;
  }
  std::abort();
}

}  // namespace

const std::wstring& TextOf(const DialogState& state, TextBox box) { return TextField(state, box); }
const ComboBoxState& ComboOf(const DialogState& state, ComboBox box) {
  return ComboField(state, box);
}
bool IsChecked(const DialogState& state, CheckBox box) { return CheckField(state, box); }

std::wstring VersionCaption(const VersionNumbers& version) {
  return L"Quarnel checker: External COM check (version " + std::to_wstring(version.major) +
         L"." + std::to_wstring(version.minor) + L" build " +
         std::to_wstring(version.revision) + L")";
}

bool DigitGroupingMatches(const std::wstring& typed, const DigitGrouping& grouping) {
  const std::wstring& separator = grouping.separator;
  const std::wstring number = TrimSpaces(typed);
  const std::size_t firstSeparator = separator.empty() ? std::wstring::npos : number.find(separator);
  if (firstSeparator == std::wstring::npos) return true;
  // The integer part: the run of digits and separators from the first of
  // either.
  const std::size_t start =
      std::min(firstSeparator, number.find_first_of(L"0123456789"));
  std::size_t end = start;
  std::wstring digits;
  while (end < number.size()) {
    if (IsDigit(number[end])) {
      digits += number[end++];
    } else if (number.compare(end, separator.size(), separator) == 0) {
      end += separator.size();
    } else {
      break;
    }
  }
  if (number.find(separator, end) != std::wstring::npos) return false;
  return number.compare(start, end - start, GroupDigits(digits, grouping)) == 0;
}

void DialogModel::InitDialog(const VersionNumbers& version) {
  state_.title = VersionCaption(version);
  state_.cmbWhat.entries = KindEntries();
  SelectEntry(ComboBox::cmbWhat, KindOf(L"")->dialogIndex);
  RefreshKindLists();
  state_.cmbOYFile.entries = OldestYoungestEntries();
  SelectEntry(ComboBox::cmbOYFile, 0);
}

void DialogModel::SetText(TextBox box, const std::wstring& text) {
  TextField(state_, box) = text;
  if (box == TextBox::txtFile) UpdateOldestYoungest();
}

void DialogModel::SelectEntry(ComboBox box, int index) {
  ComboBoxState& combo = ComboField(state_, box);
  if (index < -1 || index >= static_cast<int>(combo.entries.size())) {
    throw CheckError(ErrorNumber::InvalidPropertyValue);
  }
  combo.selection = index;
  combo.text = index == -1 ? std::wstring() : combo.entries[index];
  if (box == ComboBox::cmbWhat) RefreshKindLists();
  if (box == ComboBox::cmbOYFile) UpdateSubfolders();
}

void DialogModel::TypeText(ComboBox box, const std::wstring& text) {
  ComboBoxState& combo = ComboField(state_, box);
  combo.selection = -1;
  combo.text = text;
  if (box == ComboBox::cmbWhat) RefreshKindLists();
  if (box == ComboBox::cmbOYFile) UpdateSubfolders();
}

void DialogModel::SetChecked(CheckBox box, bool checked) {
  CheckField(state_, box) = checked;
}

void DialogModel::RefreshKindLists() {
  int comparison = state_.cmbCompare.selection == -1 ? kDefaultComparison
                                                     : state_.cmbCompare.selection;
  int unit = state_.cmbUnit.selection == -1 ? 0 : state_.cmbUnit.selection;
  const Kind* kind = KindAtIndex(KindIndex());
  if (!kind) return;
  const EntryList& comparisons = IsDate(*kind) ? DateComparisonEntries() : SizeComparisonEntries();
  EntryList units = UnitEntries(kind->quantity);
  // "is equal to" and "is not equal to" have no date counterpart; a date
  // alarms when it is older ("is more") as the usual check does.
  if (comparison >= static_cast<int>(comparisons.size())) comparison = kDefaultComparison;
  // A kind without units (a count) leaves the unit list empty and disabled.
  if (unit >= static_cast<int>(units.size())) unit = units.empty() ? -1 : 0;
  state_.cmbUnitEnabled = !units.empty();
  state_.cmbCompare.entries = comparisons;
  state_.cmbUnit.entries = std::move(units);
  UpdateOldestYoungest();
  SelectEntry(ComboBox::cmbCompare, comparison);
  SelectEntry(ComboBox::cmbUnit, unit);
}

void DialogModel::UpdateOldestYoungest() {
  state_.cmbOYFileEnabled = HasWildcard(state_.txtFile) && EntryPicks(KindIndex());
  UpdateSubfolders();
}

// The box stays checked while it is disabled, so that a stored SUB=T comes
// back as it was.
void DialogModel::UpdateSubfolders() {
  const Kind* kind = KindOf(WhatCode());
  state_.chkSubfoldersEnabled = KindIndex() != -1 && kind && kind->reads == Reads::Listing;
}

std::wstring DialogModel::WhatCode() const {
  const int index = KindIndex();
  if (index == -1) return std::wstring();
  // An enabled oldest/youngest box without a pick counts as the youngest.
  const Pick pick = !EntryPicks(index) || !state_.cmbOYFileEnabled ? Pick::None
                    : state_.cmbOYFile.selection == 0             ? kPickEntries[0]
                                                                  : kPickEntries[1];
  for (const Kind& kind : kKinds) {
    if (kind.dialogIndex == index && kind.pick == pick) return kind.code;
  }
  std::abort();  // every entry of the list has its kinds
}

std::wstring DialogModel::UnitCode(const std::wstring& what) const {
  if (what.empty()) return std::wstring();
  // A size without a picked unit is in bytes; an age has none.
  const Quantity quantity = KindOf(what)->quantity;
  const std::vector<std::wstring> codes = UnitCodes(quantity);
  return CodeAt(codes, state_.cmbUnit.selection, quantity == Quantity::Size ? codes[0] : L"");
}

std::wstring DialogModel::CompareCode() const {
  return CodeAt(kComparisonCodes, state_.cmbCompare.selection,
                kComparisonCodes[kDefaultComparison]);
}

Confirmation DialogModel::ConfirmDialog(Automation& automation) {
  const std::wstring comparison = CompareCode();
  const std::wstring what = WhatCode();
  const std::wstring unit = UnitCode(what);
  if (TrimSpaces(state_.txtSize).empty()) SetText(TextBox::txtSize, L"0");
  const std::wstring path = TrimSpaces(state_.txtFile);

  const std::optional<double> threshold = automation.NumberFromRegionalText(state_.txtSize);
  if (!threshold || !(std::fabs(*threshold) <= kLargestWritableValue)) {
    return ValueRefusal(L"is not a number the check can compare with", automation);
  }
  const DigitGrouping grouping = automation.RegionalDigitGrouping();
  if (!DigitGroupingMatches(state_.txtSize, grouping)) {
    return ValueRefusal(L"does not group its digits as the regional settings do (" +
                            GroupDigits(kGroupingExample, grouping) + L")",
                        automation);
  }
  const std::wstring user = TrimSpaces(state_.txtUsername);
  if (Contains(user, L'#')) {
    return Refusal{L"The user name cannot contain \"#\": the configuration uses it to "
                   L"separate its entries.",
                   TextBox::txtUsername};
  }
  const std::wstring password = TrimSpaces(state_.txtPassword);
  if (!AnsiCodePageHolds(password)) {
    return Refusal{L"The password holds characters that the system's code page cannot keep: "
                   L"it would be stored changed and the connection would fail. Please use "
                   L"other characters.",
                   TextBox::txtPassword};
  }

  // Keys that no control shows go back as they came.
  CheckConfiguration configuration = shown_;
  configuration.path = path;
  configuration.what = what;
  configuration.comparison = comparison;
  configuration.threshold = *threshold;
  configuration.unit = unit;
  configuration.authenticate = state_.chkAuthentication;
  configuration.userName = user;
  configuration.password = password;
  configuration.debug = state_.chkDebug;
  configuration.notFoundIsOk = state_.chkunknownfile;
  configuration.subfolders = state_.chkSubfolders;
  return configuration;
}

Refusal DialogModel::ValueRefusal(const std::wstring& problem, Automation& automation) const {
  return Refusal{L"\"" + state_.txtSize + L"\" " + problem + L". Please enter a number such as " +
                     automation.NumberText(1.5) + L".",
                 TextBox::txtSize};
}

void DialogModel::ShowWhatAndUnit(const std::wstring& what, const std::wstring& unit) {
  const Kind* kind = KindOf(what);
  if (!kind) return;
  SelectEntry(ComboBox::cmbWhat, kind->dialogIndex);
  // A kind without units (a count) has none to show.
  const std::vector<std::wstring> units = UnitCodes(kind->quantity);
  if (!units.empty()) SelectEntry(ComboBox::cmbUnit, IndexOfCode(units, unit, 0));
  if (kind->pick != Pick::None) {
    SelectEntry(ComboBox::cmbOYFile, IndexOfCode(kPickEntries, kind->pick, 0));
  }
}

std::optional<CheckConfiguration> DialogConfigurationOf(const std::wstring& parameterString) {
  if (parameterString.empty()) return std::nullopt;
  return ReadConfiguration(parameterString, ConfigurationReader::Dialog);
}

void DialogModel::FillFromConfiguration(const std::optional<CheckConfiguration>& configuration,
                                        const std::wstring& hostName, Automation& automation) {
  shown_ = configuration.value_or(CheckConfiguration{});
  if (!configuration) {
    SetText(TextBox::txtFile, L"\\\\" + TrimSpaces(hostName) + L"\\");
    return;
  }
  const CheckConfiguration& c = *configuration;
  SetChecked(CheckBox::chkDebug, c.debug);
  SetChecked(CheckBox::chkunknownfile, c.notFoundIsOk);
  SetChecked(CheckBox::chkSubfolders, c.subfolders);
  SetChecked(CheckBox::chkAuthentication, c.authenticate);
  SetText(TextBox::txtUsername, c.userName);
  SetText(TextBox::txtPassword, c.password);
  SetText(TextBox::txtFile, c.path);
  ShowWhatAndUnit(c.what, c.unit);
  SelectEntry(ComboBox::cmbCompare,
              IndexOfCode(kComparisonCodes, c.comparison, kDefaultComparison));
  SetText(TextBox::txtSize, automation.NumberText(c.threshold.value_or(0)));
}

}  // namespace quarnel
