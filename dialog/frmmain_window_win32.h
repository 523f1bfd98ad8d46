#pragma once
// The Windows side of the window `frmmain` apart from its view: the module
// that holds it, its version, the window class and procedure, the design
// font and DPI scaling, control texts, and the modal window's disabling of
// its thread's other windows.

#include "support/windows_win32.h"

#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "dialog/dialog_model.h"
#include "dialog/frmmain_layout.h"
#include "support/system_failure_win32.h"
#include "support/unique_any_win32.h"

namespace quarnel {
namespace frmmain {

// The module that holds this code: the DLL in the plug-in, the program
// itself when a test links the code in directly.
HINSTANCE ThisModule();

// Major, minor and revision of the module's file version (2.0.0.61 gives
// 2, 0 and 61); zeros when the module carries no version resource.
VersionNumbers ReadOwnVersion();

// Loads the common controls (the tooltip) when the dialog is first shown,
// not with the DLL: a check needs none of them, and a process whose threads
// start COM while another one loads comctl32.dll can hang under Wine.
void LoadCommonControls();

// A failed window call, with the system's error code.
SystemCallFailure WindowFailure(const wchar_t* what);

// Twips to pixels at the screen's resolution (15 twips a pixel at 96 DPI).
class TwipsToPixels {
 public:
  TwipsToPixels() {
    const unique_screen_dc screen(GetDC(nullptr));
    dpiX_ = GetDeviceCaps(screen.get(), LOGPIXELSX);
    dpiY_ = GetDeviceCaps(screen.get(), LOGPIXELSY);
  }
  int X(int twips) const { return MulDiv(twips, dpiX_, kTwipsPerInch); }
  int Y(int twips) const { return MulDiv(twips, dpiY_, kTwipsPerInch); }

 private:
  int dpiX_ = 96;
  int dpiY_ = 96;
};

// What the window procedure hands each message of a frmmain window to.
class MessageHandler {
 public:
  virtual LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;

 protected:
  ~MessageHandler() = default;
};

// The window class lives while any frmmain window of this module exists, so
// that the DLL can be unloaded without leaving a class behind whose window
// procedure is gone. Objects on different threads may load dialogs at once.
class WindowClassUse {
 public:
  WindowClassUse();
  WindowClassUse(const WindowClassUse&) = delete;
  WindowClassUse& operator=(const WindowClassUse&) = delete;
  ~WindowClassUse();

 private:
  static void Register();

  static std::mutex mutex_;
  static int users_;
};

// The font the layout's sizes were made for: MS Sans Serif, 8 points.
unique_hfont CreateDesignFont(const TwipsToPixels& pixels);

std::wstring WindowText(HWND window);
std::vector<std::wstring> ComboEntries(HWND combo);
// Sets a control's text only when it differs, so that a box the user is
// typing in keeps its caret.
void ShowText(HWND control, const std::wstring& text);
void ShowCombo(HWND combo, const ComboBoxState& state);

// A modal window with no owner keeps the other windows of its thread (the
// host's) from taking input while it is open.
class OtherThreadWindowsDisabled {
 public:
  explicit OtherThreadWindowsDisabled(HWND dialog) : dialog_(dialog) {
    EnumThreadWindows(GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(this));
    if (outOfMemory_) throw std::bad_alloc();
    for (HWND window : disabled_) EnableWindow(window, FALSE);
  }
  ~OtherThreadWindowsDisabled() {
    for (HWND window : disabled_) {
      if (IsWindow(window)) EnableWindow(window, TRUE);
    }
  }
  OtherThreadWindowsDisabled(const OtherThreadWindowsDisabled&) = delete;
  OtherThreadWindowsDisabled& operator=(const OtherThreadWindowsDisabled&) = delete;

 private:
  // Called by the system: nothing may unwind through it.
  static BOOL CALLBACK Collect(HWND window, LPARAM self) noexcept {
    auto& collector = *reinterpret_cast<OtherThreadWindowsDisabled*>(self);
    if (window != collector.dialog_ && IsWindowVisible(window) && IsWindowEnabled(window)) {
      try {
        collector.disabled_.push_back(window);
      } catch (const std::bad_alloc&) {
        collector.outOfMemory_ = true;
        return FALSE;
      }
    }
    return TRUE;
  }

  HWND dialog_;
  std::vector<HWND> disabled_;
  bool outOfMemory_ = false;
};

// Enter pressed while the button has the focus presses it, as Windows users
// expect of a focused button. Elsewhere the dialog manager turns Enter and
// Esc into ids 1 and 2, which no control of this dialog has.
bool IsEnterOn(const MSG& message, HWND button);

}  // namespace frmmain
}  // namespace quarnel
