#include "params/check_configuration.h"

#include "params/base64.h"
#include "params/leading_number.h"
#include "params/parameter_string.h"
#include "params/parameter_vocabulary.h"
#include "support/check_error.h"

namespace quarnel {

bool CheckConfiguration::operator==(const CheckConfiguration& other) const {
  return path == other.path && what == other.what && comparison == other.comparison &&
         threshold == other.threshold && unit == other.unit &&
         authenticate == other.authenticate && userName == other.userName &&
         password == other.password && debug == other.debug &&
         notFoundIsOk == other.notFoundIsOk && subfolders == other.subfolders;
}

std::wstring KeySource::Value(const wchar_t* key) const {
  return GetParameter(currentText_(), key);
}

void ReadConfiguration(const KeySource& keys, ConfigurationReader reader,
                       CheckConfiguration& configuration) {
  configuration.debug = IsFlagSet(keys.Value(key::kDebug));
  configuration.authenticate = IsFlagSet(keys.Value(key::kAuthenticate));
  const bool credentials = reader == ConfigurationReader::Dialog ||
                           (reader == ConfigurationReader::Check && configuration.authenticate);
  if (credentials) {
    configuration.userName = keys.Value(key::kUser);
    configuration.password = DecodePassword(keys.Value(key::kPassword));
  }
  configuration.path = UnescapeValue(keys.Value(key::kFile));
  configuration.what = keys.Value(key::kWhat);
  configuration.unit = keys.Value(key::kUnit);
  const std::wstring threshold = keys.Value(key::kValue);
  try {
    configuration.threshold = ReadLeadingNumber(threshold);
  } catch (const CheckError&) {
    if (reader != ConfigurationReader::Report) throw;
    configuration.threshold = std::nullopt;
  }
  configuration.comparison = keys.Value(key::kComparison);
  configuration.notFoundIsOk = IsFlagSet(keys.Value(key::kNotFoundIsOk));
  configuration.subfolders = IsFlagSet(keys.Value(key::kSubfolders));
}

CheckConfiguration ReadConfiguration(const std::wstring& parameterString,
                                     ConfigurationReader reader) {
  CheckConfiguration configuration;
  ReadConfiguration(KeySource::OfText(parameterString), reader, configuration);
  return configuration;
}

std::wstring WriteConfiguration(const CheckConfiguration& c) {
  const auto entry = [](const wchar_t* name, const std::wstring& value) {
    return std::wstring(name) + L"=" + value + L"#";
  };
  return L"#" + entry(key::kFile, EscapeValue(c.path, true)) + entry(key::kWhat, c.what) +
         entry(key::kComparison, c.comparison) +
         entry(key::kValue, FixedNumberText(c.threshold.value_or(0))) + entry(key::kUnit, c.unit) +
         entry(key::kAuthenticate, FlagText(c.authenticate)) + entry(key::kUser, c.userName) +
         entry(key::kPassword, EncodePassword(c.password)) + entry(key::kDebug, FlagText(c.debug)) +
         entry(key::kNotFoundIsOk, FlagText(c.notFoundIsOk)) +
         (c.subfolders ? entry(key::kSubfolders, FlagText(true)) : std::wstring());
}

}  // namespace quarnel
