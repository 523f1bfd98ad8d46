#pragma once
// The one door to the Windows API. Every Windows source reaches windows.h
// through this header, so that all of them see it with the settings the
// code is written for: wide-character names (UNICODE), the lean set of
// headers, no min/max macros, and the API of Windows 7 and later.

#if defined(_WINDOWS_) && !defined(QUARNEL_WINDOWS_SETTINGS)
#error "windows.h was included before support/windows_win32.h, without its settings"
#endif
#define QUARNEL_WINDOWS_SETTINGS

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#endif

#include <windows.h>
#include <oleauto.h>
