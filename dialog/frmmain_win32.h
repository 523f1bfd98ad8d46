#pragma once
// The configuration dialog `frmmain` as one plug-in object holds it: the
// instance lives as long as the object, its window only while it is loaded.

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

namespace quarnel {

class FrmMain {
 public:
  FrmMain();
  ~FrmMain();
  FrmMain(const FrmMain&) = delete;
  FrmMain& operator=(const FrmMain&) = delete;

  // Loads the dialog when it is not loaded, shows the time-out text, fills
  // the controls from the parameter string (or the path from the host name
  // when it is empty), puts the window on top and shows it modally with no
  // owner. Returns the parameter string that OK composed, or nothing when the
  // window was closed otherwise. Throws CheckError when the parameter string
  // cannot be shown; the dialog then stays loaded and hidden. A call made
  // while the dialog is shown (from a message that its modal loop
  // dispatches) throws CheckError 400 at once and leaves the open dialog
  // alone.
  std::optional<std::wstring> ShowModal(const std::wstring& timeoutText,
                                        const std::wstring& parameterString,
                                        const std::wstring& hostName);

 private:
  struct Window;
  std::unique_ptr<Window> window_;
  bool shown_ = false;
};

// Puts a window above all others that are not top-most (flag true, -1) or
// takes it out of that band again.
long SetWindowTopmost(HWND window, short flag);

}  // namespace quarnel
