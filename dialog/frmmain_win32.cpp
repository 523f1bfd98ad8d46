#include "dialog/frmmain_win32.h"

#include <commctrl.h>

#include <exception>
#include <variant>

#include "dialog/dialog_model.h"
#include "dialog/frmmain_controls.h"
#include "dialog/frmmain_layout.h"
#include "dialog/frmmain_window_win32.h"
#include "support/automation_win32.h"
#include "support/check_error.h"
#include "support/text.h"
#include "support/unique_any_win32.h"

namespace quarnel {

using namespace frmmain;

struct FrmMain::Window final : MessageHandler {
  Window();

  HWND Control(int id) const { return GetDlgItem(hwnd.get(), id); }
  void CreateControls();
  void CreateTooltip();
  void Render();
  std::optional<CheckConfiguration> RunModal();
  void EndModal(std::optional<CheckConfiguration> configuration);
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void React(int id, int notification, HWND control);
  void Confirm();

  WindowClassUse windowClass;
  SystemAutomation automation;
  DialogModel model;
  TwipsToPixels pixels;
  unique_hfont font;  // used by the controls, so it outlives them
  unique_hwnd hwnd;
  unique_hwnd tooltip;  // destroyed before the window whose box it serves
  bool rendering = false;
  bool open = false;
  std::optional<CheckConfiguration> confirmed;
  std::exception_ptr failure;
  HWND focusWhileInactive = nullptr;
};

FrmMain::Window::Window() : font(CreateDesignFont(pixels)) {
  LoadCommonControls();

  constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT frame{0, 0, pixels.X(kClientWidth), pixels.Y(kClientHeight)};
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  RECT workArea{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
  hwnd.reset(CreateWindowExW(0, kFrmMainClassName, L"", style,
                             workArea.left + (workArea.right - workArea.left - width) / 2,
                             workArea.top + (workArea.bottom - workArea.top - height) / 2, width,
                             height, nullptr, nullptr, ThisModule(),
                             static_cast<MessageHandler*>(this)));
  if (!hwnd) throw WindowFailure(L"window");
  CreateControls();
  CreateTooltip();
  model.InitDialog(ReadOwnVersion());
  Render();
}

void FrmMain::Window::CreateControls() {
  for (const ControlLayout& layout : kLayout) {
    const wchar_t* windowClass = WC_STATICW;
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD extendedStyle = 0;
    const TwipsRect& place = layout.place;
    int height = pixels.Y(place.height);
    switch (layout.kind) {
      case ControlKind::Label: style |= SS_LEFT | SS_NOPREFIX; break;
      case ControlKind::RightAlignedLabel: style |= SS_RIGHT | SS_NOPREFIX; break;
      case ControlKind::TextBox:
      case ControlKind::PasswordBox:
      case ControlKind::DisplayBox:
        windowClass = WC_EDITW;
        style |= WS_TABSTOP | ES_AUTOHSCROLL;
        if (layout.kind == ControlKind::PasswordBox) style |= ES_PASSWORD;
        // Shows the host's time-out; the user can select it but not change it.
        if (layout.kind == ControlKind::DisplayBox) style |= ES_READONLY;
        extendedStyle = WS_EX_CLIENTEDGE;
        break;
      case ControlKind::ComboBox:
        windowClass = WC_COMBOBOXW;
        style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
        height += pixels.Y(kDropDownHeight);
        break;
      case ControlKind::CheckBox:
        windowClass = WC_BUTTONW;
        style |= WS_TABSTOP | BS_AUTOCHECKBOX;
        break;
      case ControlKind::Button:
        windowClass = WC_BUTTONW;
        style |= WS_TABSTOP | BS_PUSHBUTTON;
        break;
      case ControlKind::Frame:
        windowClass = WC_BUTTONW;
        style |= BS_GROUPBOX | WS_CLIPSIBLINGS;
        break;
    }
    // Children are destroyed with the window; their handles are not owned here.
    const HWND control = CreateWindowExW(
        extendedStyle, windowClass, layout.text, style, pixels.X(place.left), pixels.Y(place.top),
        pixels.X(place.width), height, hwnd.get(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), ThisModule(), nullptr);
    if (!control) throw WindowFailure(layout.text);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
  }
  // Text boxes take texts of any length.
  for (const auto& box : kTextBoxes) SendMessageW(Control(box.id), EM_SETLIMITTEXT, 0, 0);
  for (const auto& box : kComboBoxes) SendMessageW(Control(box.id), CB_LIMITTEXT, 0, 0);
  SendMessageW(Control(kIdTxtPassword), EM_SETPASSWORDCHAR, L'*', 0);
}

// The tooltip has no owner: Wine answers SetWindowPos(HWND_TOPMOST) on a
// window with owned popups by lifting the popups into the top-most band
// instead of the window itself.
void FrmMain::Window::CreateTooltip() {
  tooltip.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                ThisModule(), nullptr));
  if (!tooltip) throw WindowFailure(L"tooltip");
  TOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = hwnd.get();
  tool.uId = reinterpret_cast<UINT_PTR>(Control(kIdTxtFile));
  tool.lpszText = const_cast<wchar_t*>(kFileTooltip);
  SendMessageW(tooltip.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(tooltip.get(), TTM_SETMAXTIPWIDTH, 0, pixels.X(kClientWidth / 2));
}

// Makes every control show the model's state. The notifications that the
// changes cause come back while `rendering` is set and are not taken as
// the user's input.
void FrmMain::Window::Render() {
  rendering = true;
  const DialogState& state = model.state();
  ShowText(hwnd.get(), state.title);
  for (const auto& box : kTextBoxes) ShowText(Control(box.id), TextOf(state, box.box));
  for (const auto& box : kComboBoxes) ShowCombo(Control(box.id), ComboOf(state, box.box));
  for (const auto& box : kCheckBoxes) {
    const WPARAM check = IsChecked(state, box.box) ? BST_CHECKED : BST_UNCHECKED;
    if (static_cast<WPARAM>(SendMessageW(Control(box.id), BM_GETCHECK, 0, 0)) != check) {
      SendMessageW(Control(box.id), BM_SETCHECK, check, 0);
    }
  }
  EnableWindow(Control(kIdCmbOYFile), state.cmbOYFileEnabled);
  EnableWindow(Control(kIdCmbUnit), state.cmbUnitEnabled);
  EnableWindow(Control(kIdChkSubfolders), state.chkSubfoldersEnabled);
  rendering = false;
}

std::optional<CheckConfiguration> FrmMain::Window::RunModal() {
  open = true;
  confirmed.reset();
  {
    OtherThreadWindowsDisabled hostWindows(hwnd.get());
    ShowWindow(hwnd.get(), SW_SHOWNORMAL);
    SetForegroundWindow(hwnd.get());
    SetFocus(Control(kIdBtOK));
    MSG message;
    while (open) {
      const BOOL got = GetMessageW(&message, nullptr, 0, 0);
      if (got == 0) {
        // The thread is asked to end: close, and leave the request to the
        // host's own loop.
        PostQuitMessage(static_cast<int>(message.wParam));
        break;
      }
      if (got == -1) break;
      if (IsEnterOn(message, Control(kIdBtOK))) {
        SendMessageW(Control(kIdBtOK), BM_CLICK, 0, 0);
        continue;
      }
      if (!IsDialogMessageW(hwnd.get(), &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
    // The host's windows are enabled again before this one is hidden, so that
    // the activation goes back to them.
  }
  ShowWindow(hwnd.get(), SW_HIDE);
  return confirmed;
}

void FrmMain::Window::EndModal(std::optional<CheckConfiguration> configuration) {
  if (!open) return;  // the first way out counts: a close after OK keeps OK's configuration
  confirmed = std::move(configuration);
  open = false;
  // A message sent from another thread or program (BM_CLICK, WM_CLOSE) runs
  // inside GetMessageW, which returns only for a posted message: this one
  // wakes the loop so that it sees the end.
  PostMessageW(hwnd.get(), WM_NULL, 0, 0);
}

void FrmMain::Window::Confirm() {
  const Confirmation confirmation = model.ConfirmDialog(automation);
  Render();
  if (const auto* configuration = std::get_if<CheckConfiguration>(&confirmation)) {
    EndModal(*configuration);
    return;
  }
  const Refusal& refusal = std::get<Refusal>(confirmation);
  MessageBoxW(hwnd.get(), refusal.message.c_str(), model.state().title.c_str(),
              MB_OK | MB_ICONEXCLAMATION);
  const HWND box = Control(IdOf(kTextBoxes, refusal.control));
  SetFocus(box);
  SendMessageW(box, EM_SETSEL, 0, -1);
}

void FrmMain::Window::React(int id, int notification, HWND control) {
  if (id == kIdBtOK && notification == BN_CLICKED) {
    Confirm();
  } else if (const auto* text = FindById(kTextBoxes, id); text && notification == EN_CHANGE) {
    model.SetText(text->box, WindowText(control));
  } else if (const auto* combo = FindById(kComboBoxes, id); combo && notification == CBN_SELCHANGE) {
    model.SelectEntry(combo->box, static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0)));
  } else if (combo && notification == CBN_EDITCHANGE) {
    model.TypeText(combo->box, WindowText(control));
  } else if (const auto* check = FindById(kCheckBoxes, id); check && notification == BN_CLICKED) {
    model.SetChecked(check->box, SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED);
  } else {
    return;
  }
  Render();
}

LRESULT FrmMain::Window::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      // Enter (away from OK) and Esc arrive as ids 1 and 2 and match no
      // control: the dialog has neither a default nor a cancel button.
      if (!rendering) {
        try {
          React(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        } catch (...) {
          // Nothing may unwind through the system's message dispatch; the
          // failure ends the modal display and reaches the caller from there.
          failure = std::current_exception();
          EndModal(std::nullopt);
        }
      }
      return 0;
    case WM_CLOSE:
      EndModal(std::nullopt);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        focusWhileInactive = GetFocus();
      } else if (!HIWORD(wParam)) {
        SetFocus(IsChild(window, focusWhileInactive) ? focusWhileInactive
                                                     : GetDlgItem(window, kIdBtOK));
      }
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

FrmMain::FrmMain() = default;
FrmMain::~FrmMain() = default;

void FrmMain::RefuseWhileShown() const {
  if (shown_) throw CheckError(ErrorNumber::FormAlreadyShown);
}

std::optional<CheckConfiguration> FrmMain::ShowModal(
    const std::wstring& timeoutText, const std::optional<CheckConfiguration>& configuration,
    const std::wstring& hostName) {
  // Loading, filling or unloading the window under the running modal loop
  // would pull the dialog away from the outer call.
  RefuseWhileShown();
  shown_ = true;
  const struct ShownUntilReturn {
    bool& shown;
    ~ShownUntilReturn() { shown = false; }
  } shownUntilReturn{shown_};
  if (!window_) window_ = std::make_unique<Window>();
  Window& window = *window_;
  window.model.SetText(TextBox::txtTimeout, TrimSpaces(timeoutText));
  try {
    window.model.FillFromConfiguration(configuration, hostName, window.automation);
  } catch (...) {
    // The dialog stays loaded and hidden, showing what was filled so far.
    window.Render();
    throw;
  }
  window.Render();
  SetWindowTopmost(window.hwnd.get(), -1);
  std::optional<CheckConfiguration> result = window.RunModal();
  const std::exception_ptr failure = window.failure;
  window_.reset();  // closing unloads the dialog
  if (failure) std::rethrow_exception(failure);
  return result;
}

long SetWindowTopmost(HWND window, short flag) {
  if (flag == -1) return SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  return 0;
}

}  // namespace quarnel
