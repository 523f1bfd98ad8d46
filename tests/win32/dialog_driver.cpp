// dialog_driver ACTION: another program that works the configuration dialog
// of whichever process shows it, as UI automation and accessibility tools
// do: it finds the window, takes one way to press OK or to close it, and
// waits for the window to go. It prints what it saw and exits 0 when the
// dialog ended as it should. When the dialog stays open it closes it with a
// posted WM_CLOSE, and at last by asking the dialog's thread to quit, so
// that the program that shows it does not wait for ever; it then exits 1.

#include "support/windows_win32.h"

#include <cstdio>
#include <iterator>
#include <string>

#include "dialog_driver.h"

namespace quarnel {
namespace {

bool Fail(const char* why) {
  std::printf("%s\n", why);
  return false;
}

bool FocusIsOnOK(const DialogDriver& d) {
  return d.Focus() == d.Control(kIdBtOK) || Fail("the focus is not on OK");
}

// Keys as the keyboard gives them to the foreground window's focus.
void TypeKey(WORD key) {
  INPUT input[2]{};
  for (INPUT& stroke : input) {
    stroke.type = INPUT_KEYBOARD;
    stroke.ki.wVk = key;
  }
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(static_cast<UINT>(std::size(input)), input, sizeof(INPUT));
}

struct Action {
  const wchar_t* name;
  // Works the dialog; false when what it met on the way was wrong.
  bool (*drive)(const DialogDriver& d);
};

const Action kActions[] = {
    {L"sent-ok",
     [](const DialogDriver& d) {
       d.SetText(kIdTxtSize, L"12");
       d.Click(kIdBtOK);  // sent: returns once OK has run
       return true;
     }},
    {L"posted-enter",
     [](const DialogDriver& d) {
       d.SetText(kIdTxtSize, L"3");
       if (!FocusIsOnOK(d)) return false;
       d.PressKey(d.Control(kIdBtOK), VK_RETURN);
       return true;
     }},
    {L"typed-enter",
     [](const DialogDriver& d) {
       d.SetText(kIdTxtSize, L"4");
       if (!FocusIsOnOK(d)) return false;
       if (!WaitFor([&] { return GetForegroundWindow() == d.dialog(); })) {
         return Fail("the dialog is not the foreground window");
       }
       TypeKey(VK_RETURN);
       return true;
     }},
    {L"keys-elsewhere",
     [](const DialogDriver& d) {
       // Tab twice: from OK past the time-out box into the path box.
       const HWND path = d.Control(kIdTxtFile);
       d.PressKey(d.Control(kIdBtOK), VK_TAB);
       d.PressKey(d.Control(kIdTxtTimeout), VK_TAB);
       if (!WaitFor([&] { return d.Focus() == path; })) return Fail("Tab did not reach the path box");
       d.PressKey(path, VK_RETURN);
       d.PressKey(path, VK_ESCAPE);
       // Posted after the keys, so it arrives once they have been handled.
       d.SetText(kIdTxtSize, L"");
       PostMessageW(d.Control(kIdTxtSize), WM_CHAR, L'5', 1);
       if (!WaitFor([&] { return d.Text(kIdTxtSize) == L"5"; })) return Fail("the value box was not typed in");
       if (!IsWindowVisible(d.dialog())) return Fail("Enter or Esc away from OK ended the dialog");
       d.PressOK();
       return true;
     }},
    {L"sent-close",
     [](const DialogDriver& d) {
       d.SetText(kIdTxtSize, L"7");
       SendMessageW(d.dialog(), WM_CLOSE, 0, 0);
       return true;
     }},
    {L"posted-close",
     [](const DialogDriver& d) {
       d.SetText(kIdTxtSize, L"7");
       d.CloseBox();
       return true;
     }},
};

HWND FindDialogOfAnotherProcess() {
  HWND dialog = nullptr;
  WaitFor([&] {
    dialog = FindWindowW(kFrmMainClassName, nullptr);
    return dialog && IsWindowVisible(dialog);
  });
  return dialog && IsWindowVisible(dialog) ? dialog : nullptr;
}

bool Closed(HWND dialog) { return !IsWindow(dialog) || !IsWindowVisible(dialog); }

// The dialog stayed open: close it in the ways that work on every version
// of the window, so that the call that shows it comes back.
void CloseForGood(HWND dialog) {
  PostMessageW(dialog, WM_CLOSE, 0, 0);
  if (WaitFor([&] { return Closed(dialog); })) return;
  PostThreadMessageW(GetWindowThreadProcessId(dialog, nullptr), WM_QUIT, 0, 0);
}

int Drive(const Action& action) {
  const HWND dialog = FindDialogOfAnotherProcess();
  if (!dialog) {
    std::printf("no dialog appeared\n");
    return 1;
  }
  // Returns once the dialog's thread is in its message loop.
  SendMessageW(dialog, WM_NULL, 0, 0);
  const bool drove = action.drive(DialogDriver(dialog));
  if (!WaitFor([&] { return Closed(dialog); })) {
    std::printf("gave up: the dialog stayed open\n");
    CloseForGood(dialog);
    return 1;
  }
  std::printf("closed\n");
  return drove ? 0 : 1;
}

}  // namespace
}  // namespace quarnel

int wmain(int argc, wchar_t** argv) {
  using namespace quarnel;
  for (const Action& action : kActions) {
    if (argc == 2 && std::wstring(argv[1]) == action.name) {
      const int status = Drive(action);
      std::fflush(stdout);
      return status;
    }
  }
  std::printf("usage: dialog_driver ACTION (sent-ok, posted-enter, typed-enter, keys-elsewhere, "
              "sent-close, posted-close)\n");
  return 2;
}
