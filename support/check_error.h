#pragma once
// The one error type for failures that end a check in its error report.
//
// Operations that read the machine report their failures through their
// results (-1, an "ERR:" text, false); only the failures below are raised.
// They travel as C++ exceptions inside the plug-in and never cross the COM
// boundary: the check run turns them into its error report, and the
// COM layer turns anything else into an HRESULT.

#include <exception>
#include <string>

namespace quarnel {

// The error catalogue; the numbers are the ones administrators know from
// Automation run-time errors.
enum class ErrorNumber : int {
  InvalidArgument = 5,        // "Invalid procedure call or argument"
  Overflow = 6,               // "Overflow"
  SubscriptOutOfRange = 9,    // "Subscript out of range"
  TypeMismatch = 13,          // "Type mismatch"
  InvalidUseOfNull = 94,      // "Invalid use of Null"
  InvalidPropertyValue = 380, // "Invalid property value"
  FormAlreadyShown = 400,     // "Form already displayed; can't show modally"
};

class CheckError : public std::exception {
 public:
  // A failure of the catalogue, with its own description.
  explicit CheckError(ErrorNumber number);
  // A failure passed on from elsewhere (a system error, a library that
  // could not be loaded) with its own number and description.
  CheckError(int number, std::wstring description);

  int number() const { return number_; }
  const std::wstring& description() const { return description_; }
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  int number_;
  std::wstring description_;
  std::string what_;
};

const wchar_t* DescriptionOf(ErrorNumber number);

}  // namespace quarnel
