#include "dialog/frmmain_window_win32.h"

#include <commctrl.h>

#include <cstring>

#include "dialog/frmmain_controls.h"
#include "dialog/frmmain_resources.h"
#include "support/module_win32.h"

// The base address of the module that holds this code.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace quarnel {
namespace frmmain {
namespace {

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

}  // namespace

HINSTANCE ThisModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

// Major, minor and revision of the module's file version (2.0.0.61 gives
// 2, 0 and 61); zeros when the module carries no version resource. Read from
// the module's own resource, so that the plug-in needs no version.dll.
VersionNumbers ReadOwnVersion() {
  const HRSRC found = FindResourceW(ThisModule(), MAKEINTRESOURCEW(VS_VERSION_INFO),
                                    MAKEINTRESOURCEW(16 /* RT_VERSION */));
  const HGLOBAL loaded = found ? LoadResource(ThisModule(), found) : nullptr;
  const auto* data = static_cast<const BYTE*>(loaded ? LockResource(loaded) : nullptr);
  // VS_VERSIONINFO: three WORDs, the key "VS_VERSION_INFO" with its NUL,
  // padding to a DWORD boundary, then the fixed part.
  constexpr DWORD kFixedOffset = 40;
  if (!data || SizeofResource(ThisModule(), found) < kFixedOffset + sizeof(VS_FIXEDFILEINFO))
    return {};
  VS_FIXEDFILEINFO info;
  std::memcpy(&info, data + kFixedOffset, sizeof(info));
  if (info.dwSignature != VS_FFI_SIGNATURE) return {};
  return {HIWORD(info.dwFileVersionMS), LOWORD(info.dwFileVersionMS), LOWORD(info.dwFileVersionLS)};
}

void LoadCommonControls() {
  using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  // Loaded once and never freed: the window classes that it registers
  // outlive any one dialog.
  static const HMODULE library = LoadLibraryW(L"comctl32.dll");
  const auto init = library ? reinterpret_cast<InitFunction>(reinterpret_cast<void*>(
                                  GetProcAddress(library, "InitCommonControlsEx")))
                            : nullptr;
  if (!init) throw WindowFailure(L"comctl32.dll");
  const INITCOMMONCONTROLSEX commonControls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
  init(&commonControls);
}

SystemCallFailure WindowFailure(const wchar_t* what) {
  return SystemCallFailure(GetLastError(),
                           std::wstring(L"The configuration dialog could not be loaded: ") + what);
}

WindowClassUse::WindowClassUse() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (users_ == 0) Register();
  ++users_;
}

WindowClassUse::~WindowClassUse() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (--users_ == 0) UnregisterClassW(kFrmMainClassName, ThisModule());
}

void WindowClassUse::Register() {
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

std::mutex WindowClassUse::mutex_;
int WindowClassUse::users_ = 0;

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

// Enter pressed while the button has the focus presses it, as Windows users
// expect of a focused button. Elsewhere the dialog manager turns Enter and
// Esc into ids 1 and 2, which no control of this dialog has.
bool IsEnterOn(const MSG& message, HWND button) {
  return message.message == WM_KEYDOWN && message.wParam == VK_RETURN &&
         message.hwnd == button;
}

}  // namespace frmmain
}  // namespace quarnel
