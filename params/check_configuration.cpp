#include "params/check_configuration.h"

#include <cstdlib>

#include "params/base64.h"
#include "params/leading_number.h"
#include "params/parameter_string.h"
#include "params/parameter_vocabulary.h"
#include "support/check_error.h"

namespace quarnel {

namespace {

// The keys in the order that ReadConfiguration reads them.
std::array<const ConfigurationKey*, kKeys.size()> KeysInReadingOrder() {
  std::array<const ConfigurationKey*, kKeys.size()> ordered{};
  for (const ConfigurationKey& key : kKeys) ordered[key.readRank] = &key;
  return ordered;
}

bool ReadsCredentials(ConfigurationReader reader, const CheckConfiguration& configuration) {
  return reader == ConfigurationReader::Dialog ||
         (reader == ConfigurationReader::Check && configuration.authenticate);
}

void ReadValue(const ConfigurationKey& key, const std::wstring& value, ConfigurationReader reader,
               CheckConfiguration& configuration) {
  switch (key.form) {
    case ValueForm::Text:
      configuration.*std::get<std::wstring CheckConfiguration::*>(key.field) = value;
      return;
    case ValueForm::Path:
      configuration.*std::get<std::wstring CheckConfiguration::*>(key.field) = UnescapeValue(value);
      return;
    case ValueForm::Password:
      configuration.*std::get<std::wstring CheckConfiguration::*>(key.field) = DecodePassword(value);
      return;
    case ValueForm::Flag:
    case ValueForm::FlagWhenSet:
      configuration.*std::get<bool CheckConfiguration::*>(key.field) = IsFlagSet(value);
      return;
    case ValueForm::Number: {
      std::optional<double>& number =
          configuration.*std::get<std::optional<double> CheckConfiguration::*>(key.field);
      try {
        number = ReadLeadingNumber(value);
      } catch (const CheckError&) {
        if (reader != ConfigurationReader::Report) throw;
        number = std::nullopt;
      }
      return;
    }
  }
}

std::wstring WrittenValue(const ConfigurationKey& key, const CheckConfiguration& configuration) {
  switch (key.form) {
    case ValueForm::Text:
      return configuration.*std::get<std::wstring CheckConfiguration::*>(key.field);
    case ValueForm::Path:
      return EscapeValue(configuration.*std::get<std::wstring CheckConfiguration::*>(key.field),
                         true);
    case ValueForm::Password:
      return EncodePassword(configuration.*std::get<std::wstring CheckConfiguration::*>(key.field));
    case ValueForm::Flag:
    case ValueForm::FlagWhenSet:
      return FlagText(configuration.*std::get<bool CheckConfiguration::*>(key.field));
    case ValueForm::Number:
      return FixedNumberText(
          (configuration.*std::get<std::optional<double> CheckConfiguration::*>(key.field))
              .value_or(0));
  }
  std::abort();
}

}  // namespace

bool operator==(const CheckConfiguration& a, const CheckConfiguration& b) {
  for (const ConfigurationKey& key : kKeys) {
    const bool equal = std::visit([&](auto field) { return a.*field == b.*field; }, key.field);
    if (!equal) return false;
  }
  return true;
}

std::wstring KeySource::Value(const wchar_t* key) const {
  return GetParameter(currentText_(), key);
}

void ReadConfiguration(const KeySource& keys, ConfigurationReader reader,
                       CheckConfiguration& configuration) {
  for (const ConfigurationKey* key : KeysInReadingOrder()) {
    if (key->credential && !ReadsCredentials(reader, configuration)) continue;
    ReadValue(*key, keys.Value(key->name), reader, configuration);
  }
}

CheckConfiguration ReadConfiguration(const std::wstring& parameterString,
                                     ConfigurationReader reader) {
  CheckConfiguration configuration;
  ReadConfiguration(KeySource::OfText(parameterString), reader, configuration);
  return configuration;
}

std::wstring WriteConfiguration(const CheckConfiguration& configuration) {
  std::wstring written = L"#";
  for (const ConfigurationKey& key : kKeys) {
    if (key.form == ValueForm::FlagWhenSet &&
        !(configuration.*std::get<bool CheckConfiguration::*>(key.field))) {
      continue;
    }
    written += key.name + (L"=" + WrittenValue(key, configuration)) + L"#";
  }
  return written;
}

}  // namespace quarnel
