#pragma once
// Conversion between texts and the bytes of the system ANSI code page, for
// the places where the plug-in hands bytes to the system or keeps them
// (debugger output, registry texts, networking, the password's bytes).
//
// codepage_win32.cpp converts with the system's ANSI code page (CP_ACP);
// codepage_portable.cpp stands in natively with Latin-1.

#include <string>

namespace quarnel {

// Characters without a code in the code page become the code page's default
// character ("?"); a double-byte code page gives two bytes for such a
// character.
std::string ToAnsi(const std::wstring& text);
std::wstring FromAnsi(const std::string& bytes);

// Whether the code page holds every character of the text as itself, so
// that ToAnsi changes none of them into the default character.
bool AnsiCodePageHolds(const std::wstring& text);

}  // namespace quarnel
