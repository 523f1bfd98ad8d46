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

// A place in the window, in twips from the corner of its client area.
struct TwipsRect {
  int left, top, width, height;
};

struct ControlLayout {
  int id;
  ControlKind kind;
  const wchar_t* text;  // the caption; empty for a box, which shows a value
  TwipsRect place;
};

// The authentication frame, whose controls are designed from its corner.
inline constexpr TwipsRect kFrame{360, 1920, 6615, 1095};

constexpr ControlLayout Captioned(int id, ControlKind kind, const wchar_t* caption,
                                  TwipsRect place) {
  return {id, kind, caption, place};
}
constexpr ControlLayout Box(int id, ControlKind kind, TwipsRect place) {
  return {id, kind, L"", place};
}
constexpr ControlLayout InFrame(ControlLayout layout) {
  layout.place.left += kFrame.left;
  layout.place.top += kFrame.top;
  return layout;
}

// Creation order is the focus order (the dialog manager tabs through the
// children in the order they were created), so the controls that take the
// focus come first. The frame comes last: lowest in the drawing order, it
// stays behind chkAuthentication, which sits on its top edge.
inline constexpr ControlLayout kLayout[] = {
    Captioned(kIdBtOK, ControlKind::Button, L"&OK", {7080, 480, 735, 375}),
    Box(kIdTxtTimeout, ControlKind::DisplayBox, {1320, 3240, 1095, 285}),
    Box(kIdTxtFile, ControlKind::TextBox, {1080, 120, 4455, 285}),
    Box(kIdCmbCompare, ControlKind::ComboBox, {1080, 1080, 1575, 315}),
    Box(kIdTxtSize, ControlKind::TextBox, {3360, 1080, 1335, 285}),
    Box(kIdCmbUnit, ControlKind::ComboBox, {4800, 1080, 1935, 315}),
    Captioned(kIdChkAuthentication, ControlKind::CheckBox,
              L"Authenticate before checking (NT based authentication)", {600, 1920, 4335, 255}),
    InFrame(Box(kIdTxtUsername, ControlKind::TextBox, {1080, 300, 2055, 285})),
    InFrame(Box(kIdTxtPassword, ControlKind::PasswordBox, {4200, 300, 2055, 285})),
    Box(kIdCmbWhat, ControlKind::ComboBox, {1080, 600, 1575, 315}),
    Captioned(kIdChkDebug, ControlKind::CheckBox, L"Return dates (for debug only)",
              {4560, 3480, 2415, 255}),
    Captioned(kIdChkunknownfile, ControlKind::CheckBox, L"File not found is OK",
              {4560, 3120, 2415, 255}),
    Box(kIdCmbOYFile, ControlKind::ComboBox, {3000, 600, 2535, 315}),
    // Added to the design in the free row below the comparison, without
    // moving any control; last in the focus order of the designed ones.
    Captioned(kIdChkSubfolders, ControlKind::CheckBox, L"Include subfolders",
              {1080, 1500, 2415, 255}),
    Captioned(kIdLabel2, ControlKind::Label, L"Check", {360, 180, 615, 255}),
    Captioned(kIdLabel3, ControlKind::Label, L"and alarm when it's", {5640, 180, 1455, 255}),
    Captioned(kIdLabel6, ControlKind::Label, L"then", {2760, 1140, 495, 255}),
    // 90 twips wider than designed, up to just before its box: in the
    // design's 855 twips "User Name:" wraps at 120 DPI (72 pixels of text
    // in 71).
    InFrame(Captioned(kIdLabel7, ControlKind::Label, L"User Name:", {120, 360, 945, 255})),
    InFrame(Captioned(kIdLabel8, ControlKind::Label, L"Password:", {3360, 360, 855, 255})),
    InFrame(Captioned(kIdLabel9, ControlKind::Label,
                      L"In most cases the user name should be noted as domainname\\username",
                      {960, 720, 5295, 255})),
    Captioned(kIdLabel4, ControlKind::RightAlignedLabel, L"Timeout:", {-120, 3300, 1215, 255}),
    Captioned(kIdLabel5, ControlKind::Label, L"seconds", {2520, 3300, 1215, 255}),
    Box(kIdMSFr, ControlKind::Frame, kFrame),
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
    {CheckBox::chkSubfolders, kIdChkSubfolders},
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
