#pragma once
// The host's own output: whole lines in UTF-8, written straight to the
// standard handles so that nothing is held back in a buffer when the
// watchdog has to end the process.

#include <string>

namespace quarnel {

void PrintLine(const std::wstring& line);
void PrintErrorLine(const std::wstring& line);

}  // namespace quarnel
