#pragma once
// The design of the window `frmmain`: every control with its kind, caption
// and place in twips, the window's size, and which control shows which box
// of the dialog model. Plain data, shared by the view and its tests.

#include <cstddef>
#include <cstdlib>

#include "dialog/dialog_model.h"
#include "dialog/frmmain_controls.h"

namespace quarnel {
namespace frmmain {

inline constexpr wchar_t kFileTooltip[] =
    L"Enter the name of the file to be checked (don't forget to path to the file "
    L"\\\\server\\share\\directory\\file.ext)";

// Sizes of the window design, in twips.
inline constexpr int kClientWidth = 8085;
inline constexpr int kClientHeight = 4290;
inline constexpr int kTwipsPerInch = 1440;
// How far a drop-down list reaches below its combo box, in twips.
inline constexpr int kDropDownHeight = 2400;

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
inline constexpr FramePosition kFrameCorner{360, 1920};

// Creation order is the focus order (the dialog manager tabs through the
// children in the order they were created), so the controls that take the
// focus come first. The frame comes last: lowest in the drawing order, it
// stays behind chkAuthentication, which sits on its top edge.
inline constexpr ControlLayout kLayout[] = {
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
inline constexpr ControlOfBox<TextBox> kTextBoxes[] = {
    {TextBox::txtFile, kIdTxtFile},         {TextBox::txtSize, kIdTxtSize},
    {TextBox::txtUsername, kIdTxtUsername}, {TextBox::txtPassword, kIdTxtPassword},
    {TextBox::txtTimeout, kIdTxtTimeout},
};
inline constexpr ControlOfBox<ComboBox> kComboBoxes[] = {
    {ComboBox::cmbWhat, kIdCmbWhat},
    {ComboBox::cmbOYFile, kIdCmbOYFile},
    {ComboBox::cmbCompare, kIdCmbCompare},
    {ComboBox::cmbUnit, kIdCmbUnit},
};
inline constexpr ControlOfBox<CheckBox> kCheckBoxes[] = {
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

}  // namespace frmmain
}  // namespace quarnel
