#include "support/check_error.h"

namespace quarnel {
namespace {

std::string AsciiOf(const std::wstring& text) {
  std::string ascii;
  for (wchar_t c : text) ascii += (c >= 0x20 && c < 0x7f) ? static_cast<char>(c) : '?';
  return ascii;
}

}  // namespace

const wchar_t* DescriptionOf(ErrorNumber number) {
  switch (number) {
    case ErrorNumber::InvalidArgument: return L"Invalid procedure call or argument";
    case ErrorNumber::Overflow: return L"Overflow";
    case ErrorNumber::SubscriptOutOfRange: return L"Subscript out of range";
    case ErrorNumber::TypeMismatch: return L"Type mismatch";
    case ErrorNumber::InvalidUseOfNull: return L"Invalid use of Null";
    case ErrorNumber::InvalidPropertyValue: return L"Invalid property value";
    case ErrorNumber::FormAlreadyShown: return L"Form already displayed; can't show modally";
  }
  return L"Application-defined or object-defined error";
}

CheckError::CheckError(ErrorNumber number)
    : CheckError(static_cast<int>(number), DescriptionOf(number)) {}

CheckError::CheckError(int number, std::wstring description)
    : number_(number),
      description_(std::move(description)),
      what_(AsciiOf(description_) + " (" + std::to_string(number_) + ")") {}

}  // namespace quarnel
