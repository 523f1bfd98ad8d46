#pragma once
// The control ids of the window `frmmain`, one per control name, so that the
// window code and anything that drives the window (tests, accessibility
// tools) find a control with GetDlgItem. Ids 1 and 2 stay free: the dialog
// manager sends them for Enter and Esc, which this dialog does not act on.

namespace quarnel {

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
};

}  // namespace quarnel
