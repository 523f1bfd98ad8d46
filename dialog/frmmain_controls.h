#pragma once
// The window class and the control ids of the window `frmmain`, one id per
// control name, so that the window code and anything that drives the window
// (tests, accessibility tools) find it with FindWindow and a control with
// GetDlgItem. Ids 1 and 2 stay free: the dialog manager sends them for Enter
// and Esc, which this dialog does not act on (Enter on the focused OK
// presses OK).

namespace quarnel {

inline constexpr wchar_t kFrmMainClassName[] = L"QuarnelFrmMain";

enum FrmMainControlId : int {
  kIdLabel2 = 100,
  kIdTxtFile,
  kIdLabel3,
  kIdBtOK,
  kIdCmbWhat,
  kIdCmbOYFile,
  kIdCmbCompare,
  kIdLabel6,
  kIdTxtSize,
  kIdCmbUnit,
  kIdMSFr,
  kIdLabel7,
  kIdTxtUsername,
  kIdLabel8,
  kIdTxtPassword,
  kIdLabel9,
  kIdChkAuthentication,
  kIdChkunknownfile,
  kIdLabel4,
  kIdTxtTimeout,
  kIdLabel5,
  kIdChkDebug,
  kIdChkSubfolders,
};

}  // namespace quarnel
