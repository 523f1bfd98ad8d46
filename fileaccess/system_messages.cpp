#include "fileaccess/system_messages.h"

#include "support/text.h"

namespace quarnel {

std::wstring GetSystemErrorText(SystemMessages& messages, std::int32_t code) {
  std::wstring message = TrimSpaces(messages.RawSystemMessage(static_cast<std::uint32_t>(code)));
  // Two characters or fewer are no message, at most a bare line break.
  if (message.size() <= 2) return std::wstring();
  // Only the line break goes: a space before it stays, as it always has.
  if (message.compare(message.size() - 2, 2, L"\r\n") == 0) message.resize(message.size() - 2);
  return message;
}

}  // namespace quarnel
