#pragma once
// A check's whole configuration as the parameter string holds it, parsed
// once: ReadConfiguration is the one reader of the keys of a parameter
// string, WriteConfiguration the one writer. The check run, the dialog, the
// configuration lint and the Monitoring Plugins report all go through them.
// Every key is one row of kKeys, which drives the reading, the writing, the
// comparison of two configurations and the lint: a key is added, renamed or
// converted in one place.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <variant>

namespace quarnel {

struct CheckConfiguration {
  std::wstring path;        // FILE, unescaped; may hold a date placeholder
  std::wstring what;        // WHT, a code of the vocabulary or anything else
  std::wstring comparison;  // CMP
  // VAL; nothing only when a report reads a threshold too large for a number.
  std::optional<double> threshold = 0.0;
  std::wstring unit;        // UNIT
  bool authenticate = false;  // AUTH
  std::wstring userName;      // USR
  std::wstring password;      // PWD, decoded: clear text
  bool debug = false;         // DBG
  bool notFoundIsOk = false;  // FNF
  bool subfolders = false;    // SUB: the listing kinds take in every folder below
};

// How a key's value stands in the parameter string.
enum class ValueForm {
  Text,      // as it stands
  Path,      // escaped, "#" included (EscapeValue, UnescapeValue)
  Number,    // the leading number (ReadLeadingNumber), written in its fixed form
  Password,  // encoded (EncodePassword, DecodePassword); no report shows it
  Flag,      // "T" or "F"
  // "T", written only when set, so that a string without it is written as
  // it was before the key existed
  FlagWhenSet,
};

// The field of the configuration that a key fills: a text, a flag or a
// number, as its form says.
using ConfigurationField =
    std::variant<std::wstring CheckConfiguration::*, bool CheckConfiguration::*,
                 std::optional<double> CheckConfiguration::*>;

struct ConfigurationKey {
  const wchar_t* name;  // as WriteConfiguration writes it; found in any letter case
  ValueForm form;
  ConfigurationField field;
  // ReadConfiguration reads the keys from rank 0 up; AUTH comes before the
  // credentials, which it decides on.
  int readRank;
  // USR and PWD: the check reads them only with AUTH=T, the dialog always,
  // a report never.
  bool credential;
};

// The keys' names, for the code that looks for one by name.
namespace key {
inline constexpr wchar_t kFile[] = L"FILE", kWhat[] = L"WHT", kComparison[] = L"CMP",
                         kValue[] = L"VAL", kUnit[] = L"UNIT", kAuthenticate[] = L"AUTH",
                         kUser[] = L"USR", kPassword[] = L"PWD", kDebug[] = L"DBG",
                         kNotFoundIsOk[] = L"FNF", kSubfolders[] = L"SUB";
}  // namespace key

// The keys, in the order that WriteConfiguration writes them.
inline constexpr std::array<ConfigurationKey, 11> kKeys{{
    {key::kFile, ValueForm::Path, &CheckConfiguration::path, 4, false},
    {key::kWhat, ValueForm::Text, &CheckConfiguration::what, 5, false},
    {key::kComparison, ValueForm::Text, &CheckConfiguration::comparison, 8, false},
    {key::kValue, ValueForm::Number, &CheckConfiguration::threshold, 7, false},
    {key::kUnit, ValueForm::Text, &CheckConfiguration::unit, 6, false},
    {key::kAuthenticate, ValueForm::Flag, &CheckConfiguration::authenticate, 1, false},
    {key::kUser, ValueForm::Text, &CheckConfiguration::userName, 2, true},
    {key::kPassword, ValueForm::Password, &CheckConfiguration::password, 3, true},
    {key::kDebug, ValueForm::Flag, &CheckConfiguration::debug, 0, false},
    {key::kNotFoundIsOk, ValueForm::Flag, &CheckConfiguration::notFoundIsOk, 9, false},
    {key::kSubfolders, ValueForm::FlagWhenSet, &CheckConfiguration::subfolders, 10, false},
}};

namespace detail {
constexpr bool FormFitsField(const ConfigurationKey& key) {
  switch (key.form) {
    case ValueForm::Flag:
    case ValueForm::FlagWhenSet: return std::holds_alternative<bool CheckConfiguration::*>(key.field);
    case ValueForm::Number:
      return std::holds_alternative<std::optional<double> CheckConfiguration::*>(key.field);
    default: return std::holds_alternative<std::wstring CheckConfiguration::*>(key.field);
  }
}
constexpr bool KeysAreWellFormed() {
  for (std::size_t i = 0; i < kKeys.size(); ++i) {
    if (!FormFitsField(kKeys[i])) return false;
    int ranked = 0;  // each rank once
    for (const ConfigurationKey& other : kKeys) ranked += other.readRank == static_cast<int>(i);
    if (ranked != 1) return false;
  }
  return true;
}
}  // namespace detail
static_assert(detail::KeysAreWellFormed(),
              "every key's form fits its field, and the read ranks count 0, 1, 2, ...");

// Two configurations are equal when every key's field is.
bool operator==(const CheckConfiguration& a, const CheckConfiguration& b);
inline bool operator!=(const CheckConfiguration& a, const CheckConfiguration& b) {
  return !(a == b);
}

// Where the keys come from: the current text of the parameter string, asked
// anew for each key.
//
// Why anew: the check reads sa_parameter as the host left it, and when the
// host stored an object its text is the object's default value, which the
// conversion fetches each time. The check has always fetched it once per
// key, in the order ReadConfiguration documents, at the moment it reads that
// key; an object whose value changes in between, or fails on a later fetch,
// is thus read as it always was. Everyone else reads one fixed text.
class KeySource {
 public:
  explicit KeySource(std::function<std::wstring()> currentText)
      : currentText_(std::move(currentText)) {}
  // A source that always gives the same text.
  static KeySource OfText(const std::wstring& text) {
    return KeySource([&text] { return text; });
  }

  // The value of the key in the current text (GetParameter).
  std::wstring Value(const wchar_t* key) const;

 private:
  std::function<std::wstring()> currentText_;
};

// Who reads: which keys are read, and what a value that does not convert
// does.
enum class ConfigurationReader {
  // The check run: USR and PWD only with AUTH=T. A password that does not
  // decode (CheckError 5) and a VAL too large for a number (6) throw where
  // they are read, and no later key is read.
  Check,
  // The dialog shows USR and PWD whatever AUTH says; failures as the check.
  Dialog,
  // A report on a stored string (the lint, the Monitoring Plugins report):
  // no credentials; never throws, and a VAL too large leaves no threshold.
  Report,
};

// Reads the keys by their read rank, each from the source's current text:
// DBG, AUTH, (USR, PWD), FILE, WHT, UNIT, VAL, CMP, FNF, SUB. The
// configuration is filled key by key, so that after a throw it holds what
// was read up to then, which the check's error report shows.
void ReadConfiguration(const KeySource& keys, ConfigurationReader reader,
                       CheckConfiguration& configuration);
CheckConfiguration ReadConfiguration(const std::wstring& parameterString,
                                     ConfigurationReader reader);

// The parameter string of the configuration, every key in the order of
// kKeys: the path escaped ("#" included), the threshold in its
// fixed form (0 when there is none), the password encoded, flags "T" or
// "F", SUB only when set. ReadConfiguration reads it back as the same configuration, as long
// as the path holds no escape sequence of its own and the password only
// characters of the ANSI code page.
std::wstring WriteConfiguration(const CheckConfiguration& configuration);

}  // namespace quarnel
