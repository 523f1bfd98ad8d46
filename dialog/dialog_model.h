#pragma once
// The configuration dialog `frmmain` as data: the state of its controls and
// the reactions that keep them in step. The Win32 window (frmmain_win32.cpp)
// only mirrors this state and passes every change the user makes through
// the functions below, so the reactions run the same way whether the user or
// the dialog's own code changes a control.

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "params/check_configuration.h"
#include "support/automation.h"

namespace quarnel {

struct ComboBoxState {
  std::vector<std::wstring> entries;
  int selection = -1;  // -1: nothing picked (also after typed text)
  std::wstring text;   // the text part: the picked entry or what was typed
};

struct DialogState {
  std::wstring title;
  std::wstring txtFile;
  std::wstring txtSize;
  std::wstring txtUsername;
  std::wstring txtPassword;
  std::wstring txtTimeout;
  ComboBoxState cmbWhat;
  ComboBoxState cmbOYFile;
  ComboBoxState cmbCompare;
  ComboBoxState cmbUnit;
  bool cmbOYFileEnabled = true;
  bool cmbUnitEnabled = true;  // a count has no unit
  bool chkAuthentication = false;
  bool chkunknownfile = false;
  bool chkDebug = false;
  bool chkSubfolders = false;
  bool chkSubfoldersEnabled = true;  // for the kinds that list every match
};

enum class TextBox { txtFile, txtSize, txtUsername, txtPassword, txtTimeout };
enum class ComboBox { cmbWhat, cmbOYFile, cmbCompare, cmbUnit };
enum class CheckBox { chkAuthentication, chkunknownfile, chkDebug, chkSubfolders };

const std::wstring& TextOf(const DialogState& state, TextBox box);
const ComboBoxState& ComboOf(const DialogState& state, ComboBox box);
bool IsChecked(const DialogState& state, CheckBox box);

// The plug-in's file version numbers that the window title shows.
struct VersionNumbers {
  unsigned major = 0;
  unsigned minor = 0;
  unsigned revision = 0;
};

// "Quarnel checker: External COM check (version 2.0 build 61)".
std::wstring VersionCaption(const VersionNumbers& version);

// Whether a typed number groups its digits as the regional settings do: a
// number without the thousands separator does; one with it must have it
// exactly where the regional grouping puts it in the integer part and
// nowhere else. With "," and "3;0", "1,500" matches, "1,5" and "1,2,3" do
// not (the system's number conversion would read them as 15 and 123).
bool DigitGroupingMatches(const std::wstring& typed, const DigitGrouping& grouping);

// Why OK did not compose a parameter string: the message the user is shown,
// and the text box that holds the value to correct.
struct Refusal {
  std::wstring message;
  TextBox control;
};

using Confirmation = std::variant<CheckConfiguration, Refusal>;

// The configuration that the dialog shows for a stored parameter string:
// nothing for an empty one. Throws CheckError 5 for a password that does
// not decode, and 6 for a threshold too large for a number.
std::optional<CheckConfiguration> DialogConfigurationOf(const std::wstring& parameterString);

class DialogModel {
 public:
  // The designed state: empty texts and lists, clear check boxes.
  DialogModel() = default;

  const DialogState& state() const { return state_; }

  // The load step: title, kind list with "size" picked, the size lists,
  // oldest/youngest list with the oldest picked.
  void InitDialog(const VersionNumbers& version);

  // Changes as the user (or the dialog's own code) makes them. The path text
  // runs UpdateOldestYoungest, the kind selection RefreshKindLists; both,
  // and the oldest/youngest box, decide whether subfolders can be taken in.
  void SetText(TextBox box, const std::wstring& text);
  // Picks entry `index` (-1 for none); an index outside the list throws
  // CheckError 380 "Invalid property value" and changes nothing.
  void SelectEntry(ComboBox box, int index);
  // Text typed into the text part: the box is left without a selection.
  void TypeText(ComboBox box, const std::wstring& text);
  void SetChecked(CheckBox box, bool checked);

  // The OK action: the configuration of the controls, or a refusal when
  // the value box holds no number (or one too large) or one whose digit
  // grouping is not the regional one (mostly a mistyped decimal separator),
  // when the user name holds a "#", which would end its entry early and
  // change the keys after it, or when the password holds a character that
  // the ANSI code page cannot keep, which would be stored changed. A blank
  // value box is set to "0" first.
  Confirmation ConfirmDialog(Automation& automation);

  // Shows a configuration in the controls; none (an empty parameter string)
  // only sets the path to the host's share root. Throws CheckError 380 for
  // "EQ"/"NQ" with a date kind (the controls filled up to then keep their
  // new state).
  void FillFromConfiguration(const std::optional<CheckConfiguration>& configuration,
                             const std::wstring& hostName, Automation& automation);

 private:
  void RefreshKindLists();
  void UpdateOldestYoungest();
  void UpdateSubfolders();
  int KindIndex() const { return state_.cmbWhat.selection; }
  std::wstring WhatCode() const;
  std::wstring UnitCode(const std::wstring& what) const;
  std::wstring CompareCode() const;
  void ShowWhatAndUnit(const std::wstring& what, const std::wstring& unit);
  // Refuses the value box's text with the problem in a message.
  Refusal ValueRefusal(const std::wstring& problem, Automation& automation) const;

  DialogState state_;
  // The configuration last filled in. OK starts from it and sets what the
  // controls show, so that a key that no control shows (a row of kKeys
  // without a control) goes back as it came.
  CheckConfiguration shown_;
};

}  // namespace quarnel
