#include "plugin/parameter_lint.h"

#include <algorithm>
#include <iomanip>
#include <locale>
#include <optional>
#include <sstream>

#include "params/check_configuration.h"
#include "params/leading_number.h"
#include "params/parameter_string.h"
#include "params/parameter_vocabulary.h"
#include "support/text.h"

namespace quarnel {
namespace {

template <typename Codes>
std::wstring Listed(const Codes& codes) {
  std::wstring list;
  for (const auto& code : codes) list += (list.empty() ? L"" : L", ") + std::wstring(code);
  return list;
}

bool IsKeyName(const std::wstring& name) {
  return std::any_of(kKeys.begin(), kKeys.end(),
                     [&](const ConfigurationKey& key) { return name == key.name; });
}

const ConfigurationKey& KeyNamed(const std::wstring& name) {
  return *std::find_if(kKeys.begin(), kKeys.end(),
                       [&](const ConfigurationKey& key) { return name == key.name; });
}

// A value as a warning shows it; a long one is cut, so that a warning stays
// one readable line.
std::wstring Quoted(const std::wstring& text) {
  constexpr size_t kShown = 80;
  return L"'" + (text.size() > kShown ? text.substr(0, kShown) + L"..." : text) + L"'";
}

size_t EditDistance(const std::wstring& a, const std::wstring& b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// The known key nearest to a misspelt one, when one is near enough.
std::optional<std::wstring> NearestKey(const std::wstring& foldedKey) {
  // Long texts are no misspelt keys; measuring them would only cost time.
  if (foldedKey.size() > 8) return std::nullopt;
  std::optional<std::wstring> nearest;
  size_t best = 3;  // at most two letters wrong, missing or added
  for (const ConfigurationKey& key : kKeys) {
    const size_t distance = EditDistance(foldedKey, key.name);
    if (distance < best) {
      best = distance;
      nearest = key.name;
    }
  }
  return nearest;
}

std::wstring NumberText(double value) {
  std::wostringstream text;
  text.imbue(std::locale::classic());
  text << std::setprecision(15) << value;
  return text.str();
}

bool IsBlank(const std::wstring& text) {
  return text.find_first_not_of(L" \t\n") == std::wstring::npos;
}

class Lint {
 public:
  explicit Lint(const std::wstring& parameterString)
      : text_(parameterString),
        configuration_(ReadConfiguration(parameterString, ConfigurationReader::Report)) {}

  // Every finding, and those by which no check is named.
  struct Findings {
    std::vector<std::wstring> all;
    std::vector<std::wstring> noCheckNamed;
  };

  Findings Run() {
    LintEntries();
    LintRepeatedKeys();
    LintPath();
    const Kind* kind = LintKind();
    LintComparison(kind);
    LintThreshold();
    if (kind) LintUnit(*kind);
    LintFlags();
    if (kind) LintSubfolders(*kind);
    return std::move(findings_);
  }

 private:
  void Warn(const std::wstring& warning) { findings_.all.push_back(warning); }
  void WarnNoCheckNamed(const std::wstring& warning) {
    Warn(warning);
    findings_.noCheckNamed.push_back(warning);
  }
  std::wstring Value(const wchar_t* key) const { return GetParameter(text_, key); }
  bool Given(const wchar_t* key) const {
    return std::find(seenKeys_.begin(), seenKeys_.end(), key) != seenKeys_.end();
  }

  // Every piece between two "#" is an entry only as "key=value" with a key
  // that is spelt exactly, letter case aside.
  void LintEntries() {
    const size_t firstHash = text_.find(L'#');
    const std::wstring lead = text_.substr(0, firstHash);
    if (!lead.empty()) Warn(Quoted(lead) + L" comes before the first \"#\" and is not read");
    if (firstHash == std::wstring::npos) return;
    for (size_t start = firstHash + 1; start <= text_.size();) {
      const size_t end = std::min(text_.find(L'#', start), text_.size());
      LintEntry(text_.substr(start, end - start));
      start = end + 1;
    }
  }

  void LintEntry(const std::wstring& entry) {
    if (entry.empty()) return;
    const size_t equals = entry.find(L'=');
    if (equals == std::wstring::npos) {
      Warn(Quoted(entry) + L" has no \"=\" and is no entry: nothing reads it");
      return;
    }
    const std::wstring key = entry.substr(0, equals);
    const std::wstring folded = FoldKeyCase(key);
    if (IsKeyName(folded)) {
      if (!Given(folded.c_str())) {
        seenKeys_.push_back(folded);
      } else if (std::find(repeatedKeys_.begin(), repeatedKeys_.end(), folded) ==
                 repeatedKeys_.end()) {
        repeatedKeys_.push_back(folded);
      }
      return;
    }
    const std::wstring trimmed = TrimSpaces(folded);
    if (IsKeyName(trimmed)) {
      Warn(L"key " + Quoted(key) + L" has blanks around its name and is not found; write " +
           trimmed);
      return;
    }
    const auto nearest = NearestKey(folded);
    Warn(L"unknown key " + Quoted(key) + L", which nothing reads" +
         (nearest ? L" (" + *nearest + L"?)" : L""));
  }

  // The password's value stays out of the warnings, encoded as it is.
  void LintRepeatedKeys() {
    for (const std::wstring& key : repeatedKeys_) {
      const std::wstring value = KeyNamed(key).form == ValueForm::Password
                                     ? L""
                                     : L" (" + Quoted(Value(key.c_str())) + L")";
      Warn(L"key " + key + L" is given more than once; only the first value" + value + L" counts");
    }
  }

  void LintPath() {
    if (!Given(key::kFile)) {
      WarnNoCheckNamed(L"there is no FILE key: the check has no path to look at");
      return;
    }
    const std::wstring& path = configuration_.path;
    if (path.empty()) {
      WarnNoCheckNamed(L"FILE is empty: the check has no path to look at");
    } else if (!Contains(path, L'\\')) {
      Warn(L"FILE " + Quoted(path) + L" holds no \"\\\": its files are read under " +
           Quoted(path + L"\\") + L" and those reads fail");
    }
  }

  // Not a kind for the plug-in, but perhaps one in the wrong letter case.
  template <typename Codes>
  std::wstring NotListed(const wchar_t* key, const std::wstring& value, const Codes& codes) {
    const bool caseOnly = IsCodeOf(codes, FoldKeyCase(value));
    return std::wstring(key) + L" " + Quoted(value) + L" is not one of " + Listed(codes) +
           (caseOnly ? L" (letter case counts)" : L"");
  }

  const Kind* LintKind() {
    const std::wstring& what = configuration_.what;
    const Kind* kind = KindOf(what);
    if (!kind) {
      WarnNoCheckNamed(NotListed(key::kWhat, what, KindCodes()) +
                       L": the check measures nothing and its result is Empty");
    }
    return kind;
  }

  void LintComparison(const Kind* kind) {
    const std::wstring& comparison = configuration_.comparison;
    if (!Given(key::kComparison)) {
      Warn(L"there is no CMP key: the check never passes");
    } else if (!IsCodeOf(kComparisonCodes, comparison)) {
      Warn(NotListed(key::kComparison, comparison, kComparisonCodes) + L": the check never passes");
    } else if (kind && IsDate(*kind) && (comparison == compare::kEqual || comparison == compare::kNotEqual)) {
      Warn(L"CMP " + comparison + L" does not compare dates (only LT and GT do): the check never passes");
    }
  }

  void LintThreshold() {
    if (!Given(key::kValue)) return;
    const std::wstring text = Value(key::kValue);
    if (!configuration_.threshold) {
      Warn(L"VAL " + Quoted(text) + L" is too large for a number: the check ends in an overflow report");
      return;
    }
    const std::wstring unread = TextAfterLeadingNumber(text);
    if (IsBlank(unread)) return;
    if (unread == text) {
      Warn(L"VAL " + Quoted(text) + L" holds no number: the threshold is 0");
    } else {
      Warn(L"VAL " + Quoted(text) + L" reads as " + NumberText(*configuration_.threshold) +
           L" (\".\" is the only decimal point): " + Quoted(unread) + L" is ignored");
    }
  }

  void LintUnit(const Kind& kind) {
    const std::wstring& unit = configuration_.unit;
    const std::wstring named = Given(key::kUnit) ? L"UNIT " + Quoted(unit) : L"there is no UNIT key";
    if (kind.quantity == Quantity::Count) {
      if (!unit.empty()) Warn(named + L" plays no part in a count of files: it is ignored");
      return;
    }
    if (!IsDate(kind)) {
      if (IsSizeUnit(unit)) return;
      const std::wstring consequence = L": the size is compared in bytes";
      if (IsAgeUnit(unit)) {
        Warn(named + L" is a date unit, but WHT asks for a size" + consequence);
      } else {
        Warn((Given(key::kUnit) ? NotListed(key::kUnit, unit, UnitCodes(Quantity::Size)) : named) + consequence);
      }
      return;
    }
    if (IsAgeUnit(unit)) return;
    const std::wstring consequence = L": the result text says " + Quoted(AgeUnitWord(unit)) +
                                     L", or the check ends in the error report";
    if (IsSizeUnit(unit)) {
      Warn(named + L" is a size unit, but WHT asks for a date" + consequence);
    } else {
      Warn((Given(key::kUnit) ? NotListed(key::kUnit, unit, UnitCodes(Quantity::Age)) : named) + consequence);
    }
  }

  void LintFlags() {
    for (const ConfigurationKey& key : kKeys) {
      if (key.form != ValueForm::Flag && key.form != ValueForm::FlagWhenSet) continue;
      const std::wstring value = Value(key.name);
      if (Given(key.name) && value != kFlagSet && value != kFlagClear) {
        Warn(std::wstring(key.name) + L" " + Quoted(value) + L" is neither T nor F: it counts as F");
      }
    }
    if (configuration_.notFoundIsOk && configuration_.authenticate) {
      Warn(L"FNF=T with AUTH=T: a folder that the share hides from the user (access-based "
           L"enumeration) looks missing, and the check then passes with \"No matching files\"");
    }
  }

  void LintSubfolders(const Kind& kind) {
    if (configuration_.subfolders && kind.reads == Reads::OneFile) {
      Warn(L"SUB=T with WHT=" + configuration_.what +
           L": the check reads the date of the one file that FILE names, subfolders play no part");
    }
  }

  const std::wstring& text_;
  const CheckConfiguration configuration_;
  std::vector<std::wstring> seenKeys_;      // folded, each once
  std::vector<std::wstring> repeatedKeys_;  // folded, each once
  Findings findings_;
};

}  // namespace

std::vector<std::wstring> LintParameterString(const std::wstring& parameterString) {
  return Lint(parameterString).Run().all;
}

std::vector<std::wstring> LintNoCheckNamed(const std::wstring& parameterString) {
  return Lint(parameterString).Run().noCheckNamed;
}

}  // namespace quarnel
