#pragma once
// The configuration dialog `frmmain` as one plug-in object holds it: the
// instance lives as long as the object, its window only while it is loaded.

#include "support/windows_win32.h"

#include <memory>
#include <optional>
#include <string>

#include "params/check_configuration.h"

namespace quarnel {

class FrmMain {
 public:
  FrmMain();
  ~FrmMain();
  FrmMain(const FrmMain&) = delete;
  FrmMain& operator=(const FrmMain&) = delete;

  // Loads the dialog when it is not loaded, shows the time-out text, fills
  // the controls from the configuration (or the path from the host name
  // when there is none), puts the window on top and shows it modally with
  // no owner. Returns the configuration that OK confirmed, or nothing when
  // the window was closed otherwise. Throws CheckError when the
  // configuration cannot be shown; the dialog then stays loaded and hidden. A call made
  // while the dialog is shown (from a message that its modal loop
  // dispatches) throws CheckError 400 at once and leaves the open dialog
  // alone.
  std::optional<CheckConfiguration> ShowModal(
      const std::wstring& timeoutText, const std::optional<CheckConfiguration>& configuration,
      const std::wstring& hostName);

  // Throws CheckError 400 while the dialog is shown: a nested call is
  // refused before anything of it is read, whatever its values hold.
  void RefuseWhileShown() const;

 private:
  struct Window;
  std::unique_ptr<Window> window_;
  bool shown_ = false;
};

// Puts a window above all others that are not top-most (flag true, -1) or
// takes it out of that band again.
long SetWindowTopmost(HWND window, short flag);

}  // namespace quarnel
