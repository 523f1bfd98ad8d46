#pragma once
// Works an open configuration dialog from another thread or another
// program, through the messages that a user's input would cause, as test
// drivers and accessibility tools do.

#include "support/windows_win32.h"
#include <commctrl.h>

#include <chrono>
#include <functional>
#include <iterator>
#include <string>
#include <thread>

#include "dialog/frmmain_controls.h"

namespace quarnel {

// Windows need an X display under Wine (the test command provides one
// through xvfb-run).
inline bool HasDisplay() { return GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) > 0; }

inline std::wstring WindowText(HWND window) {
  wchar_t text[1024] = L"";
  SendMessageW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
  return text;
}

// Waits, within a bound that only keeps a broken dialog from hanging the
// run, until `done` holds.
inline bool WaitFor(const std::function<bool()>& done) {
  for (int attempt = 0; attempt < 400; ++attempt) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

class DialogDriver {
 public:
  explicit DialogDriver(HWND dialog) : dialog_(dialog) {}

  HWND dialog() const { return dialog_; }
  HWND Control(int id) const { return GetDlgItem(dialog_, id); }
  std::wstring Text(int id) const { return WindowText(Control(id)); }
  bool Enabled(int id) const { return IsWindowEnabled(Control(id)); }
  bool Checked(int id) const {
    return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  HWND Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog_, nullptr), &info);
    return info.hwndFocus;
  }

  void Pick(int comboId, int index) const {
    SendMessageW(Control(comboId), CB_SETCURSEL, index, 0);
    Notify(comboId, CBN_SELCHANGE);
  }
  void SetText(int editId, const std::wstring& text) const {
    SendMessageW(Control(editId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    Notify(editId, EN_CHANGE);
  }
  // Characters typed into a text box or into a combo box's text part.
  void Type(int id, const std::wstring& text) const {
    HWND target = Control(id);
    if (HWND comboEdit = FindWindowExW(target, nullptr, WC_EDITW, nullptr)) target = comboEdit;
    for (wchar_t c : text) SendMessageW(target, WM_CHAR, c, 1);
  }
  void Click(int id) const { SendMessageW(Control(id), BM_CLICK, 0, 0); }
  // Posted: OK may open a message box, which would hold a sent message.
  void PressOK() const { PostMessageW(Control(kIdBtOK), BM_CLICK, 0, 0); }
  void CloseBox() const { PostMessageW(dialog_, WM_CLOSE, 0, 0); }
  // A key pressed and released while `window` has the focus, as the
  // keyboard posts it.
  void PressKey(HWND window, WORD key) const {
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 0xC0000001);
  }

 private:
  void Notify(int id, int notification) const {
    SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(id, notification),
                 reinterpret_cast<LPARAM>(Control(id)));
  }

  HWND dialog_;
};

}  // namespace quarnel
