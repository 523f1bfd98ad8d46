#pragma once
// A check's whole configuration as the parameter string holds it, parsed
// once: ReadConfiguration is the one reader of the keys of a parameter
// string, WriteConfiguration the one writer. The check run, the dialog, the
// configuration lint and the Monitoring Plugins report all go through them,
// so that a key is added, renamed or converted in one place.

#include <functional>
#include <optional>
#include <string>

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

  bool operator==(const CheckConfiguration& other) const;
};

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

// Reads the keys in this order, each from the source's current text: DBG,
// AUTH, (USR, PWD), FILE, WHT, UNIT, VAL, CMP, FNF, SUB. The configuration is
// filled key by key, so that after a throw it holds what was read up to
// then, which the check's error report shows.
void ReadConfiguration(const KeySource& keys, ConfigurationReader reader,
                       CheckConfiguration& configuration);
CheckConfiguration ReadConfiguration(const std::wstring& parameterString,
                                     ConfigurationReader reader);

// The parameter string of the configuration, the keys in the order of the
// vocabulary, SUB only when set (so that a string without subfolders stays
// as it always was): the path escaped ("#" included), the threshold in its
// fixed form (0 when there is none), the password encoded, flags "T" or
// "F". ReadConfiguration reads it back as the same configuration, as long
// as the path holds no escape sequence of its own and the password only
// characters of the ANSI code page.
std::wstring WriteConfiguration(const CheckConfiguration& configuration);

}  // namespace quarnel
