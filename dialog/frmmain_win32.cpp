#include "dialog/frmmain_win32.h"

#include <commctrl.h>

#include <cstdlib>
#include <exception>
#include <mutex>
#include <new>
#include <variant>
#include <vector>

#include "dialog/dialog_model.h"
#include "dialog/frmmain_controls.h"
#include "dialog/frmmain_resources.h"
#include "support/automation_win32.h"
#include "support/check_error.h"
#include "support/module_win32.h"
#include "support/system_failure_win32.h"
#include "support/text.h"
#include "support/unique_any_win32.h"

// The base address of the module that holds this code: the DLL in the
// plug-in, the program itself when a test links the code in directly.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace quarnel {
namespace {

constexpr wchar_t kFileTooltip[] =
    L"Enter the name of the file to be checked (don't forget to path to the file "
    L"\\\\server\\share\\directory\\file.ext)";

// Sizes of the window design, in twips.
constexpr int kClientWidth = 8085;
constexpr int kClientHeight = 4290;
constexpr int kTwipsPerInch = 1440;
// How far a drop-down list reaches below its combo box, in twips.
constexpr int kDropDownHeight = 2400;

enum class ControlKind {
  Label,
  RightAlignedLabel,
  TextBox,
  PasswordBox,
  DisplayBox,
  ComboBox,
  CheckBox,
  Button,
  Frame,
};

struct ControlLayout {
  int id;
  ControlKind kind;
  const wchar_t* text;
  int left, top, width, height;  // twips, from the frame's corner when inFrame
  bool inFrame;
};

struct FramePosition {
  int left, top;
};
constexpr FramePosition kFrameCorner{360, 1920};

// Creation order is the focus order (the dialog manager tabs through the
// children in the order they were created), so the controls that take the
// focus come first. The frame comes last: lowest in the drawing order, it
// stays behind chkAuthentication, which sits on its top edge.
constexpr ControlLayout kLayout[] = {
    {kIdBtOK, ControlKind::Button, L"&OK", 7080, 480, 735, 375, false},
    {kIdTxtTimeout, ControlKind::DisplayBox, L"", 1320, 3240, 1095, 285, false},
    {kIdTxtFile, ControlKind::TextBox, L"", 1080, 120, 4455, 285, false},
    {kIdCmbCompare, ControlKind::ComboBox, L"", 1080, 1080, 1575, 315, false},
    {kIdTxtSize, ControlKind::TextBox, L"", 3360, 1080, 1335, 285, false},
    {kIdCmbUnit, ControlKind::ComboBox, L"", 4800, 1080, 1935, 315, false},
    {kIdChkAuthentication, ControlKind::CheckBox,
     L"Authenticate before checking (NT based authentication)", 600, 1920, 4335, 255, false},
    {kIdTxtUsername, ControlKind::TextBox, L"", 1080, 300, 2055, 285, true},
    {kIdTxtPassword, ControlKind::PasswordBox, L"", 4200, 300, 2055, 285, true},
    {kIdCmbWhat, ControlKind::ComboBox, L"", 1080, 600, 1575, 315, false},
    {kIdChkDebug, ControlKind::CheckBox, L"Return dates (for debug only)", 4560, 3480, 2415, 255,
     false},
    {kIdChkunknownfile, ControlKind::CheckBox, L"File not found is OK", 4560, 3120, 2415, 255,
     false},
    {kIdCmbOYFile, ControlKind::ComboBox, L"", 3000, 600, 2535, 315, false},
    {kIdLabel2, ControlKind::Label, L"Check", 360, 180, 615, 255, false},
    {kIdLabel3, ControlKind::Label, L"and alarm when it's", 5640, 180, 1455, 255, false},
    {kIdLabel6, ControlKind::Label, L"then", 2760, 1140, 495, 255, false},
    // 90 twips wider than designed, up to just before its box: in the
    // design's 855 twips "User Name:" wraps at 120 DPI (72 pixels of text
    // in 71).
    {kIdLabel7, ControlKind::Label, L"User Name:", 120, 360, 945, 255, true},
    {kIdLabel8, ControlKind::Label, L"Password:", 3360, 360, 855, 255, true},
    {kIdLabel9, ControlKind::Label,
     L"In most cases the user name should be noted as domainname\\username", 960, 720, 5295, 255,
     true},
    {kIdLabel4, ControlKind::RightAlignedLabel, L"Timeout:", -120, 3300, 1215, 255, false},
    {kIdLabel5, ControlKind::Label, L"seconds", 2520, 3300, 1215, 255, false},
    {kIdMSFr, ControlKind::Frame, L"", kFrameCorner.left, kFrameCorner.top, 6615, 1095, false},
};

template <typename Box>
struct ControlOfBox {
  Box box;
  int id;
};
constexpr ControlOfBox<TextBox> kTextBoxes[] = {
    {TextBox::txtFile, kIdTxtFile},         {TextBox::txtSize, kIdTxtSize},
    {TextBox::txtUsername, kIdTxtUsername}, {TextBox::txtPassword, kIdTxtPassword},
    {TextBox::txtTimeout, kIdTxtTimeout},
};
constexpr ControlOfBox<ComboBox> kComboBoxes[] = {
    {ComboBox::cmbWhat, kIdCmbWhat},
    {ComboBox::cmbOYFile, kIdCmbOYFile},
    {ComboBox::cmbCompare, kIdCmbCompare},
    {ComboBox::cmbUnit, kIdCmbUnit},
};
constexpr ControlOfBox<CheckBox> kCheckBoxes[] = {
    {CheckBox::chkAuthentication, kIdChkAuthentication},
    {CheckBox::chkunknownfile, kIdChkunknownfile},
    {CheckBox::chkDebug, kIdChkDebug},
};

template <typename Box, std::size_t N>
const ControlOfBox<Box>* FindById(const ControlOfBox<Box> (&table)[N], int id) {
  for (const auto& entry : table) {
    if (entry.id == id) return &entry;
  }
  return nullptr;
}

template <typename Box, std::size_t N>
int IdOf(const ControlOfBox<Box> (&table)[N], Box box) {
  for (const auto& entry : table) {
    if (entry.box == box) return entry.id;
  }
  std::abort();  // every box has its control
}

HINSTANCE ThisModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

// Major, minor and revision of the module's file version (2.0.0.61 gives
// 2, 0 and 61); zeros when the module carries no version resource.
VersionNumbers ReadOwnVersion() {
  const std::wstring path = ModuleFilePath(ThisModule());
  DWORD unused = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &unused);
  if (size == 0) return {};
  std::vector<BYTE> data(size);
  void* fixedInfo = nullptr;
  UINT length = 0;
  if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data()) ||
      !VerQueryValueW(data.data(), L"\\", &fixedInfo, &length) ||
      length < sizeof(VS_FIXEDFILEINFO)) {
    return {};
  }
  const auto* info = static_cast<const VS_FIXEDFILEINFO*>(fixedInfo);
  return {HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
          LOWORD(info->dwFileVersionLS)};
}

SystemCallFailure WindowFailure(const wchar_t* what) {
  return SystemCallFailure(GetLastError(),
                           std::wstring(L"The configuration dialog could not be loaded: ") + what);
}

class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {}
  ~ScreenDc() { ReleaseDC(nullptr, dc_); }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// Twips to pixels at the screen's resolution (15 twips a pixel at 96 DPI).
class TwipsToPixels {
 public:
  TwipsToPixels() {
    const ScreenDc screen;
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

LRESULT CALLBACK FrmMainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* handler = reinterpret_cast<MessageHandler*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!handler) return DefWindowProcW(window, message, wParam, lParam);
  const LRESULT result = handler->Handle(window, message, wParam, lParam);
  // The window's last message: the handle may be reused for another
  // window, which must not find this handler.
  if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  return result;
}

// The window class lives while any frmmain window of this module exists, so
// that the DLL can be unloaded without leaving a class behind whose window
// procedure is gone. Objects on different threads may load dialogs at once.
class WindowClassUse {
 public:
  WindowClassUse() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (users_ == 0) Register();
    ++users_;
  }
  ~WindowClassUse() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (--users_ == 0) UnregisterClassW(kFrmMainClassName, ThisModule());
  }
  WindowClassUse(const WindowClassUse&) = delete;
  WindowClassUse& operator=(const WindowClassUse&) = delete;

 private:
  static void Register() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &FrmMainProcedure;
    windowClass.hInstance = ThisModule();
    windowClass.hIcon = static_cast<HICON>(LoadImageW(ThisModule(), MAKEINTRESOURCEW(IDI_FRMMAIN),
                                                      IMAGE_ICON, 32, 32, LR_SHARED));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(
        ThisModule(), MAKEINTRESOURCEW(IDI_FRMMAIN), IMAGE_ICON, 16, 16, LR_SHARED));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kFrmMainClassName;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
      throw WindowFailure(L"window class");
    }
  }

  static std::mutex mutex_;
  static int users_;
};
std::mutex WindowClassUse::mutex_;
int WindowClassUse::users_ = 0;

struct FontTraits {
  using Handle = HFONT;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle font) { DeleteObject(font); }
};
using unique_hfont = unique_any<FontTraits>;

// The font the layout's sizes were made for: MS Sans Serif, 8 points.
unique_hfont CreateDesignFont(const TwipsToPixels& pixels) {
  constexpr int kPointSize = 8;
  constexpr int kTwipsPerPoint = 20;
  unique_hfont font(CreateFontW(-pixels.Y(kPointSize * kTwipsPerPoint), 0, 0, 0, FW_NORMAL, FALSE,
                                FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                L"MS Sans Serif"));
  if (!font) throw WindowFailure(L"font");
  return font;
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::vector<std::wstring> ComboEntries(HWND combo) {
  std::vector<std::wstring> entries;
  const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::wstring entry(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
    entry.resize(static_cast<std::size_t>(
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry.data()))));
    entries.push_back(entry);
  }
  return entries;
}

// Sets a control's text only when it differs, so that a box the user is
// typing in keeps its caret.
void ShowText(HWND control, const std::wstring& text) {
  if (WindowText(control) != text) SetWindowTextW(control, text.c_str());
}

void ShowCombo(HWND combo, const ComboBoxState& state) {
  if (ComboEntries(combo) != state.entries) {
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& entry : state.entries) {
      SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
  }
  const DWORD caret = static_cast<DWORD>(SendMessageW(combo, CB_GETEDITSEL, 0, 0));
  if (SendMessageW(combo, CB_GETCURSEL, 0, 0) != state.selection) {
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(state.selection), 0);
  }
  if (WindowText(combo) != state.text) {
    // Typed text: the list loses its selection (which empties the text
    // part), then the typed text comes back with the caret where it was.
    SetWindowTextW(combo, state.text.c_str());
    SendMessageW(combo, CB_SETEDITSEL, 0, MAKELPARAM(LOWORD(caret), HIWORD(caret)));
  }
}

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
bool IsEnterOn(const MSG& message, HWND button) {
  return message.message == WM_KEYDOWN && message.wParam == VK_RETURN &&
         message.hwnd == button;
}

}  // namespace

struct FrmMain::Window final : MessageHandler {
  Window();

  HWND Control(int id) const { return GetDlgItem(hwnd.get(), id); }
  void CreateControls();
  void CreateTooltip();
  void Render();
  std::optional<std::wstring> RunModal();
  void EndModal(std::optional<std::wstring> parameterString);
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
  std::optional<std::wstring> confirmed;
  std::exception_ptr failure;
  HWND focusWhileInactive = nullptr;
};

FrmMain::Window::Window() : font(CreateDesignFont(pixels)) {
  const INITCOMMONCONTROLSEX commonControls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&commonControls);

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
    int height = pixels.Y(layout.height);
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
    const int left = layout.left + (layout.inFrame ? kFrameCorner.left : 0);
    const int top = layout.top + (layout.inFrame ? kFrameCorner.top : 0);
    // Children are destroyed with the window; their handles are not owned here.
    const HWND control = CreateWindowExW(
        extendedStyle, windowClass, layout.text, style, pixels.X(left), pixels.Y(top),
        pixels.X(layout.width), height, hwnd.get(),
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
  rendering = false;
}

std::optional<std::wstring> FrmMain::Window::RunModal() {
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

void FrmMain::Window::EndModal(std::optional<std::wstring> parameterString) {
  if (!open) return;  // the first way out counts: a close after OK keeps OK's string
  confirmed = std::move(parameterString);
  open = false;
  // A message sent from another thread or program (BM_CLICK, WM_CLOSE) runs
  // inside GetMessageW, which returns only for a posted message: this one
  // wakes the loop so that it sees the end.
  PostMessageW(hwnd.get(), WM_NULL, 0, 0);
}

void FrmMain::Window::Confirm() {
  const Confirmation confirmation = model.ConfirmDialog(automation);
  Render();
  if (const auto* parameterString = std::get_if<std::wstring>(&confirmation)) {
    EndModal(*parameterString);
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

std::optional<std::wstring> FrmMain::ShowModal(const std::wstring& timeoutText,
                                               const std::wstring& parameterString,
                                               const std::wstring& hostName) {
  // Loading, filling or unloading the window under the running modal loop
  // would pull the dialog away from the outer call.
  if (shown_) throw CheckError(ErrorNumber::FormAlreadyShown);
  shown_ = true;
  const struct ShownUntilReturn {
    bool& shown;
    ~ShownUntilReturn() { shown = false; }
  } shownUntilReturn{shown_};
  if (!window_) window_ = std::make_unique<Window>();
  Window& window = *window_;
  window.model.SetText(TextBox::txtTimeout, TrimSpaces(timeoutText));
  try {
    window.model.FillFromParameters(parameterString, hostName, window.automation);
  } catch (...) {
    // The dialog stays loaded and hidden, showing what was filled so far.
    window.Render();
    throw;
  }
  window.Render();
  SetWindowTopmost(window.hwnd.get(), -1);
  std::optional<std::wstring> result = window.RunModal();
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
