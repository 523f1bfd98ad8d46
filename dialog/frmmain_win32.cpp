#include "dialog/frmmain_win32.h"

namespace quarnel {

struct FrmMain::Window {};

FrmMain::FrmMain() = default;
FrmMain::~FrmMain() = default;

std::optional<std::wstring> FrmMain::ShowModal(const std::wstring&, const std::wstring&,
                                               const std::wstring&) {
  return std::nullopt;
}

long SetWindowTopmost(HWND window, short flag) {
  if (flag == -1) return SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  return 0;
}

}  // namespace quarnel
