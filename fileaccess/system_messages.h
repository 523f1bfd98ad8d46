#pragma once
// The system's messages for its error codes, apart from any one subsystem:
// the file search and the share connection both report with them.

#include <cstdint>
#include <string>

namespace quarnel {

class SystemMessages {
 public:
  virtual ~SystemMessages() = default;

  // The system's message for an error code exactly as FormatMessage gives it
  // into a buffer of 260 characters: the characters stored, or the empty
  // text when there is no message or it does not fit.
  virtual std::wstring RawSystemMessage(std::uint32_t code) = 0;
};

// The system's message for an error code as one line: spaces trimmed, one
// final CR LF removed; the empty text when the system has no message.
std::wstring GetSystemErrorText(SystemMessages& messages, std::int32_t code);

}  // namespace quarnel
