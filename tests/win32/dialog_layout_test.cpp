// The configuration dialog's labels and check boxes at the screen
// resolution of the Wine prefix (96 DPI in the build tree's own prefix; the
// test command runs this program again in prefixes set to 120 and 144 DPI,
// and QUARNEL_DPI says which one is meant): every text, measured in the
// control's own font, fits its control on one line. The window is the
// dialog code linked into this program, shown by FrmMain::ShowModal on this
// thread and measured and closed from another.

#include "support/windows_win32.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <algorithm>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "dialog/frmmain_win32.h"
#include "dialog_driver.h"

namespace quarnel {
namespace {

int ScreenDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

struct Fit {
  std::wstring text;
  int needed;     // pixels of text (and check mark) on one line
  int available;  // pixels the control shows of it
  int lineHeight;
  int height;
};

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = L"";
  GetClassNameW(window, name, 64);
  return name;
}

// What a label or check box needs and has, in the pixels of its own font.
// A check box draws its mark (12 pixels at 96 DPI, one more for the frame)
// and half a digit's width before its text; a right-aligned label shows
// only the part of itself that lies inside the window.
std::optional<Fit> Measure(HWND control, int dpi) {
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  const std::wstring kind = ClassOf(control);
  const bool label = kind == L"Static";
  const bool checkBox = kind == L"Button" && (style & BS_TYPEMASK) == BS_AUTOCHECKBOX;
  if (!label && !checkBox) return std::nullopt;

  Fit fit{WindowText(control), 0, 0, 0, 0};
  const HDC dc = GetDC(control);
  const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  SIZE extent{};
  GetTextExtentPoint32W(dc, fit.text.c_str(), static_cast<int>(fit.text.size()), &extent);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  INT digitWidth = 0;
  GetCharWidth32W(dc, L'0', L'0', &digitWidth);
  SelectObject(dc, old);
  ReleaseDC(control, dc);

  RECT box{};
  GetWindowRect(control, &box);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&box), 2);
  fit.needed = extent.cx + (checkBox ? 12 * dpi / 96 + 1 + digitWidth / 2 : 0);
  const bool rightAligned = label && (style & SS_TYPEMASK) == SS_RIGHT;
  fit.available = box.right - (rightAligned ? std::max<LONG>(box.left, 0) : box.left);
  fit.lineHeight = metrics.tmHeight;
  fit.height = box.bottom - box.top;
  return fit;
}

TEST(DialogLayout, EveryLabelAndCheckBoxTextFitsOnOneLine) {
  if (!HasDisplay()) GTEST_SKIP() << "DISPLAY is not set: the dialog needs an X display (xvfb-run)";
  const int dpi = ScreenDpi();
  if (const char* expected = std::getenv("QUARNEL_DPI")) {
    ASSERT_EQ(dpi, std::atoi(expected)) << "the prefix does not run at the resolution meant";
  }

  std::vector<Fit> fits;
  bool found = false;
  std::thread measuring([&] {
    HWND dialog = nullptr;
    found = WaitFor([&] {
      dialog = FindWindowW(kFrmMainClassName, nullptr);
      return dialog && IsWindowVisible(dialog);
    });
    if (!found) return;
    SendMessageW(dialog, WM_NULL, 0, 0);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      if (const auto fit = Measure(child, dpi)) fits.push_back(*fit);
    }
    PostMessageW(dialog, WM_CLOSE, 0, 0);
  });
  FrmMain dialog;
  const auto result = dialog.ShowModal(L"30", std::nullopt, L"srv1");
  measuring.join();
  ASSERT_TRUE(found) << "the dialog did not appear";
  EXPECT_FALSE(result.has_value());

  EXPECT_EQ(fits.size(), 12u) << "eight labels and four check boxes";
  for (const Fit& fit : fits) {
    std::wcout << dpi << L" DPI: " << fit.needed << L" of " << fit.available << L" px, line "
               << fit.lineHeight << L" of " << fit.height << L" px: " << fit.text << L"\n";
    EXPECT_LE(fit.needed, fit.available) << testing::PrintToString(fit.text) << " is cut or wraps";
    EXPECT_LE(fit.lineHeight, fit.height) << testing::PrintToString(fit.text) << " is cut below";
  }
}

}  // namespace
}  // namespace quarnel
