#include "dialog/dialog_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <variant>

#include "dialog/frmmain_layout.h"
#include "fake_automation.h"
#include "params/leading_number.h"
#include "support/check_error.h"
#include "support/text.h"

namespace quarnel {
namespace {

const std::vector<std::wstring> kSizeComparisons{L"is smaller", L"is bigger", L"is equal to",
                                                 L"is not equal to"};
const std::vector<std::wstring> kDateComparisons{L"is less", L"is more"};
const std::vector<std::wstring> kSizeUnits{L"Bytes", L"Kilobytes (KB)", L"Megabytes (MB)",
                                           L"Gigabytes (GB)", L"Terabytes (TB)"};
const std::vector<std::wstring> kDateUnits{L"minutes ago", L"hours ago", L"days ago"};

constexpr int kSize = 0;
constexpr int kCreationDate = 1;
constexpr int kLastWriteDate = 2;
constexpr int kCount = 3;

// The text of the parameter string, or the refusal's message as a failure.
std::wstring ParameterStringOf(const Confirmation& confirmation) {
  if (const auto* refusal = std::get_if<Refusal>(&confirmation)) {
    ADD_FAILURE() << "OK was refused: " << testing::PrintToString(refusal->message);
    return std::wstring();
  }
  return WriteConfiguration(std::get<CheckConfiguration>(confirmation));
}

// Shows a stored parameter string, as sa_showGUI has the dialog show it.
void FillFromParameters(DialogModel& model, const std::wstring& parameterString,
                        const std::wstring& hostName, Automation& automation) {
  model.FillFromConfiguration(DialogConfigurationOf(parameterString), hostName, automation);
}

class DialogModelTest : public testing::Test {
 protected:
  DialogModelTest() { model.InitDialog({2, 0, 61}); }

  const DialogState& state() const { return model.state(); }
  std::wstring Confirm() { return ParameterStringOf(model.ConfirmDialog(automation)); }
  void Load(const std::wstring& parameterString, const std::wstring& hostName = L"srv1") {
    FillFromParameters(model, parameterString, hostName, automation);
  }
  // Picks the entry with this text, as the user would.
  void Pick(ComboBox box, const std::wstring& entry) {
    const auto& entries = ComboOf(state(), box).entries;
    const auto found = std::find(entries.begin(), entries.end(), entry);
    ASSERT_NE(found, entries.end()) << testing::PrintToString(entry);
    model.SelectEntry(box, static_cast<int>(found - entries.begin()));
  }

  DialogModel model;
  FakeAutomation automation;
};

TEST_F(DialogModelTest, InitDialogShowsTheSizeCheckWithTheVersionInTheTitle) {
  EXPECT_EQ(state().title, L"Quarnel checker: External COM check (version 2.0 build 61)");
  EXPECT_EQ(state().cmbWhat.entries,
            (std::vector<std::wstring>{L"size", L"creation date", L"last write date",
                                       L"number of files"}));
  EXPECT_EQ(state().cmbWhat.text, L"size");
  EXPECT_EQ(state().cmbCompare.entries, kSizeComparisons);
  EXPECT_EQ(state().cmbCompare.text, L"is bigger");
  EXPECT_EQ(state().cmbUnit.entries, kSizeUnits);
  EXPECT_EQ(state().cmbUnit.text, L"Bytes");
  EXPECT_EQ(state().cmbOYFile.entries, (std::vector<std::wstring>{L"of the oldest matching file",
                                                                  L"of the youngest matching file"}));
  EXPECT_EQ(state().cmbOYFile.selection, 0);
  EXPECT_EQ(state().cmbOYFile.text, L"of the oldest matching file");
  EXPECT_FALSE(state().cmbOYFileEnabled);
  for (TextBox box : {TextBox::txtFile, TextBox::txtSize, TextBox::txtUsername,
                      TextBox::txtPassword, TextBox::txtTimeout}) {
    EXPECT_EQ(TextOf(state(), box), L"");
  }
  for (CheckBox box : {CheckBox::chkAuthentication, CheckBox::chkDebug, CheckBox::chkunknownfile,
                       CheckBox::chkSubfolders}) {
    EXPECT_FALSE(IsChecked(state(), box));
  }
  EXPECT_TRUE(state().cmbUnitEnabled);
  EXPECT_TRUE(state().chkSubfoldersEnabled);
}

TEST(VersionCaption, WritesPlainDecimalNumbers) {
  EXPECT_EQ(VersionCaption({2, 0, 61}),
            L"Quarnel checker: External COM check (version 2.0 build 61)");
  EXPECT_EQ(VersionCaption({10, 12, 305}),
            L"Quarnel checker: External COM check (version 10.12 build 305)");
}

TEST_F(DialogModelTest, EmptyParameterStringShowsTheHostsShareRootAndTheDefaults) {
  Load(L"", L" srv1 ");
  EXPECT_EQ(state().txtFile, L"\\\\srv1\\");
  EXPECT_EQ(state().cmbWhat.text, L"size");
  EXPECT_EQ(Confirm(), L"#FILE=\\\\srv1\\#WHT=SIZE#CMP=GT#VAL=0#UNIT=B#AUTH=F#USR=#PWD=#DBG=F#FNF=F#");
}

TEST_F(DialogModelTest, BlankValueBoxIsWrittenAsZeroAndShowsZero) {
  for (const std::wstring blank : {L"", L"   "}) {
    model.SetText(TextBox::txtSize, blank);
    EXPECT_NE(Confirm().find(L"#VAL=0#"), std::wstring::npos);
    EXPECT_EQ(state().txtSize, L"0");
  }
}

TEST_F(DialogModelTest, ValueIsReadInTheRegionalFormatAndWrittenInTheFixedForm) {
  struct Case {
    std::wstring decimalSeparator;
    std::wstring typed;
    std::wstring written;
  };
  const Case cases[] = {
      {L",", L"1,5", L"1.5"},     {L".", L"0.25", L".25"},  {L".", L"-0.5", L"-.5"},
      {L".", L"100", L"100"},     {L".", L" 7 ", L"7"},     {L",", L"-0", L"0"},
      {L".", L"1e20", L"1E+20"},  {L",", L"2,5E-7", L"2.5E-07"},
      {L".", L"123456789012345", L"123456789012345"},
      {L".", L"0.1234567890123456789", L".123456789012346"},
  };
  for (const Case& c : cases) {
    automation.decimalSeparator = c.decimalSeparator;
    model.SetText(TextBox::txtSize, c.typed);
    EXPECT_NE(Confirm().find(L"#VAL=" + c.written + L"#"), std::wstring::npos)
        << testing::PrintToString(c.typed);
  }
}

TEST_F(DialogModelTest, StoredValueIsShownInTheRegionalFormat) {
  automation.decimalSeparator = L",";
  Load(L"#VAL=.25#");
  EXPECT_EQ(state().txtSize, L"0,25");
  Load(L"#VAL=1,5#");  // the check run reads only up to the comma
  EXPECT_EQ(state().txtSize, L"1");
}

TEST(FixedNumberText, WritesTheFormThatTheCheckRunReadsBack) {
  struct Case {
    double value;
    std::wstring text;
  };
  const Case cases[] = {
      {0, L"0"},
      {-0.0, L"0"},
      {100, L"100"},
      {1.5, L"1.5"},
      {0.25, L".25"},
      {-0.5, L"-.5"},
      {0.1 + 0.2, L".3"},
      {1.0 / 3, L".333333333333333"},
      {0.0001, L".0001"},
      {0.00001, L"1E-05"},
      {123456789012345, L"123456789012345"},
      {999999999999999.9, L"1E+15"},
      {1234567890123456, L"1.23456789012346E+15"},
      {1e20, L"1E+20"},
      {-2.5e-300, L"-2.5E-300"},
      {1.79769313486231e308, L"1.79769313486231E+308"},
      {std::numeric_limits<double>::denorm_min(), L"4.94065645841247E-324"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FixedNumberText(c.value), c.text) << c.value;
    // Written once, the number reads back as a number that is written the same.
    EXPECT_EQ(FixedNumberText(ReadLeadingNumber(c.text)), c.text) << c.value;
  }
}

TEST_F(DialogModelTest, ValueThatIsNoNumberIsRefusedAndTheDialogKeepsItsState) {
  // The largest double would be written rounded up to 1.79769313486232E+308,
  // which no longer reads as a number.
  for (const std::wstring typed :
       {L"abc", L"1,5", L"1e999", L"12abc", L"--1", L"1.7976931348623157e308"}) {
    model.SetText(TextBox::txtSize, typed);
    const Confirmation confirmation = model.ConfirmDialog(automation);
    ASSERT_TRUE(std::holds_alternative<Refusal>(confirmation)) << testing::PrintToString(typed);
    const Refusal& refusal = std::get<Refusal>(confirmation);
    EXPECT_EQ(refusal.control, TextBox::txtSize);
    EXPECT_NE(refusal.message.find(typed), std::wstring::npos);
    EXPECT_EQ(state().txtSize, typed);
  }
}

TEST(DigitGroupingMatches, OnlyTheRegionalGroupingOfTheIntegerPart) {
  struct Case {
    std::wstring separator;
    std::wstring sizes;
    std::wstring typed;
    bool matches;
  };
  const Case cases[] = {
      {L",", L"3;0", L"1500", true},          {L",", L"3;0", L"1,500", true},
      {L",", L"3;0", L" -12,345,678.5 ", true}, {L",", L"3;0", L"1,5", false},
      {L",", L"3;0", L"1,2,3", false},        {L",", L"3;0", L"1234,567", false},
      {L",", L"3;0", L",500", false},         {L",", L"3;0", L"1,500,", false},
      {L",", L"3;0", L"1.5,3", false},        {L",", L"3;0", L"1,500e1,2", false},
      {L".", L"3;0", L"1.500,25", true},      {L".", L"3;0", L"1.5", false},
      {L",", L"3;2;0", L"12,34,567", true},   {L",", L"3;2;0", L"1,234,567", false},
      {L",", L"3", L"1234,567", true},        {L",", L"3", L"1,234,567", false},
      {L",", L"3;2", L"123,45,678", true},    {L",", L"0", L"1,500", false},
      {L",", L"", L"1,500", false},           {L"", L"3;0", L"1,5", true},
      {L"\u00a0", L"3;0", L"1\u00a0500", true}, {L"'", L"3;0", L"1'5", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DigitGroupingMatches(c.typed, {c.separator, c.sizes}), c.matches)
        << testing::PrintToString(c.typed) << " with " << testing::PrintToString(c.sizes);
  }
}

TEST_F(DialogModelTest, ValueWithADigitGroupingInTheWrongPlaceIsRefused) {
  struct Case {
    std::wstring decimalSeparator;
    std::wstring typed;
    std::wstring written;  // empty: refused
  };
  const Case cases[] = {
      {L".", L"1,5", L""},        {L".", L"1,2,3", L""},         {L".", L"1,500", L"1500"},
      {L".", L"1,500.5", L"1500.5"}, {L",", L"1.5", L""},      {L",", L"1.500,5", L"1500.5"},
      {L",", L"1,5", L"1.5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.typed));
    automation.decimalSeparator = c.decimalSeparator;
    model.SetText(TextBox::txtSize, c.typed);
    const Confirmation confirmation = model.ConfirmDialog(automation);
    if (c.written.empty()) {
      ASSERT_TRUE(std::holds_alternative<Refusal>(confirmation));
      const Refusal& refusal = std::get<Refusal>(confirmation);
      EXPECT_EQ(refusal.control, TextBox::txtSize);
      EXPECT_NE(refusal.message.find(L"\"" + c.typed + L"\""), std::wstring::npos);
      const std::wstring example = c.decimalSeparator == L"," ? L"1.234.567" : L"1,234,567";
      EXPECT_NE(refusal.message.find(example), std::wstring::npos) << testing::PrintToString(refusal.message);
      EXPECT_EQ(state().txtSize, c.typed);
    } else {
      EXPECT_NE(ParameterStringOf(confirmation).find(L"#VAL=" + c.written + L"#"), std::wstring::npos);
    }
  }
}

TEST_F(DialogModelTest, PasswordThatTheCodePageCannotHoldIsRefused) {
  // Natively the code page is Latin-1: 'é' fits, 'Ω' and '中' do not.
  model.SetText(TextBox::txtPassword, L"\u03a9x\u4e2d");
  const Confirmation confirmation = model.ConfirmDialog(automation);
  ASSERT_TRUE(std::holds_alternative<Refusal>(confirmation));
  const Refusal& refusal = std::get<Refusal>(confirmation);
  EXPECT_EQ(refusal.control, TextBox::txtPassword);
  EXPECT_EQ(refusal.message.find(L"x\u4e2d"), std::wstring::npos) << "the message shows the password";
  EXPECT_EQ(state().txtPassword, L"\u03a9x\u4e2d");

  model.SetText(TextBox::txtPassword, L" \u00e9 ");
  EXPECT_NE(Confirm().find(L"#PWD=6Q==#"), std::wstring::npos);
}

TEST_F(DialogModelTest, UserNameWithHashIsRefusedBecauseItWouldEndItsEntry) {
  model.SetText(TextBox::txtUsername, L"dom\\a#DBG=T");
  const Confirmation confirmation = model.ConfirmDialog(automation);
  ASSERT_TRUE(std::holds_alternative<Refusal>(confirmation));
  EXPECT_EQ(std::get<Refusal>(confirmation).control, TextBox::txtUsername);
  // "{0x23}" is only text in a user name and goes through unchanged.
  model.SetText(TextBox::txtUsername, L" dom{0x23}x ");
  EXPECT_NE(Confirm().find(L"#USR=dom{0x23}x#"), std::wstring::npos);
}

TEST_F(DialogModelTest, ConfirmWritesTrimmedTextsTheEscapedPathAndTheEncodedPassword) {
  model.SetText(TextBox::txtFile, L"  \\\\srv\\a#b\\\"q\".log  ");
  model.SetText(TextBox::txtUsername, L"  dom\\user  ");
  model.SetText(TextBox::txtPassword, L" abc ");
  model.SetText(TextBox::txtSize, L"2");
  model.SetText(TextBox::txtTimeout, L"30");  // shown only, never written
  model.SetChecked(CheckBox::chkAuthentication, true);
  model.SetChecked(CheckBox::chkunknownfile, true);
  Pick(ComboBox::cmbCompare, L"is not equal to");
  Pick(ComboBox::cmbUnit, L"Terabytes (TB)");
  EXPECT_EQ(Confirm(),
            L"#FILE=\\\\srv\\a{0x23}b\\{0x22}q{0x22}.log#WHT=SIZE#CMP=NQ#VAL=2#UNIT=TB#"
            L"AUTH=T#USR=dom\\user#PWD=YWJj#DBG=F#FNF=T#");
}

TEST_F(DialogModelTest, KindSwitchKeepsThePositionsOfComparisonAndUnit) {
  struct Case {
    int fromKind;
    std::wstring fromComparison;
    std::wstring fromUnit;
    int toKind;
    std::wstring comparison;
    std::wstring unit;
  };
  const Case cases[] = {
      {kLastWriteDate, L"is less", L"days ago", kSize, L"is smaller", L"Megabytes (MB)"},
      {kSize, L"is bigger", L"Megabytes (MB)", kCreationDate, L"is more", L"days ago"},
      {kSize, L"is smaller", L"Terabytes (TB)", kCreationDate, L"is less", L"minutes ago"},
      {kSize, L"is bigger", L"Gigabytes (GB)", kLastWriteDate, L"is more", L"minutes ago"},
      {kSize, L"is equal to", L"Bytes", kCreationDate, L"is more", L"minutes ago"},
      {kSize, L"is not equal to", L"Kilobytes (KB)", kLastWriteDate, L"is more", L"hours ago"},
      {kCreationDate, L"is less", L"hours ago", kLastWriteDate, L"is less", L"hours ago"},
  };
  for (const Case& c : cases) {
    model.SelectEntry(ComboBox::cmbWhat, c.fromKind);
    Pick(ComboBox::cmbCompare, c.fromComparison);
    Pick(ComboBox::cmbUnit, c.fromUnit);
    model.SelectEntry(ComboBox::cmbWhat, c.toKind);
    const bool date = c.toKind != kSize;
    EXPECT_EQ(state().cmbCompare.entries, date ? kDateComparisons : kSizeComparisons);
    EXPECT_EQ(state().cmbUnit.entries, date ? kDateUnits : kSizeUnits);
    EXPECT_EQ(state().cmbCompare.text, c.comparison) << c.fromKind << " -> " << c.toKind;
    EXPECT_EQ(state().cmbUnit.text, c.unit) << c.fromKind << " -> " << c.toKind;
  }
}

TEST_F(DialogModelTest, KindSwitchTakesTypedComparisonAndUnitAsTheDefaults) {
  model.TypeText(ComboBox::cmbCompare, L"whatever");
  model.TypeText(ComboBox::cmbUnit, L"parsecs");
  model.SelectEntry(ComboBox::cmbWhat, kCreationDate);
  EXPECT_EQ(state().cmbCompare.text, L"is more");
  EXPECT_EQ(state().cmbUnit.text, L"minutes ago");
}

TEST_F(DialogModelTest, TypedKindLeavesTheListsAsTheyWere) {
  model.SelectEntry(ComboBox::cmbWhat, kCreationDate);
  model.TypeText(ComboBox::cmbWhat, L"size");
  EXPECT_EQ(state().cmbWhat.selection, -1);
  EXPECT_EQ(state().cmbCompare.entries, kDateComparisons);
  EXPECT_EQ(state().cmbUnit.entries, kDateUnits);
}

TEST_F(DialogModelTest, WhatCodeFollowsKindPathAndOldestYoungest) {
  struct Case {
    int kind;
    std::wstring path;
    int oldestYoungest;  // -1: text typed into the box
    std::wstring what;
  };
  const Case cases[] = {
      {kCreationDate, L"\\\\srv\\share\\*.log", 1, L"YOUCREA"},
      {kCreationDate, L"\\\\srv\\share\\*.log", 0, L"OLDCREA"},
      {kCreationDate, L"\\\\srv\\share\\app?.log", -1, L"YOUCREA"},
      {kCreationDate, L"\\\\srv\\share\\a.log", 1, L"CDATE"},
      {kCreationDate, L"\\\\srv\\share\\a.log", 0, L"CDATE"},
      {kLastWriteDate, L"C:\\logs\\*.txt", 0, L"OLDWRITE"},
      {kLastWriteDate, L"C:\\logs\\*.txt", 1, L"YOUWRITE"},
      {kLastWriteDate, L"C:\\logs\\a.txt", 0, L"WDATE"},
      {kSize, L"\\\\srv\\share\\*.log", 1, L"SIZE"},
      {kSize, L"\\\\srv\\share\\a.log", 0, L"SIZE"},
  };
  for (const Case& c : cases) {
    model.SetText(TextBox::txtFile, c.path);
    model.SelectEntry(ComboBox::cmbWhat, c.kind);
    if (c.oldestYoungest == -1) {
      model.TypeText(ComboBox::cmbOYFile, L"the newest");
    } else {
      model.SelectEntry(ComboBox::cmbOYFile, c.oldestYoungest);
    }
    EXPECT_NE(Confirm().find(L"#WHT=" + c.what + L"#"), std::wstring::npos)
        << c.kind << " " << testing::PrintToString(c.path) << " " << c.oldestYoungest;
  }
}

// A count offers the four size comparisons and no unit; the subfolders box
// takes part for the kinds that list every match, and is written only when
// checked.
TEST_F(DialogModelTest, ACountHasNoUnitAndSubfoldersGoWithTheListingKinds) {
  model.SetText(TextBox::txtFile, L"C:\\spool\\*.tmp");
  Pick(ComboBox::cmbUnit, L"Megabytes (MB)");
  model.SelectEntry(ComboBox::cmbWhat, kCount);
  EXPECT_EQ(state().cmbCompare.entries, kSizeComparisons);
  EXPECT_TRUE(state().cmbUnit.entries.empty());
  EXPECT_EQ(state().cmbUnit.selection, -1);
  EXPECT_FALSE(state().cmbUnitEnabled);
  EXPECT_TRUE(state().chkSubfoldersEnabled);
  Pick(ComboBox::cmbCompare, L"is bigger");
  model.SetText(TextBox::txtSize, L"12");
  model.SetChecked(CheckBox::chkSubfolders, true);
  EXPECT_EQ(Confirm(), L"#FILE=C:\\spool\\*.tmp#WHT=COUNT#CMP=GT#VAL=12#UNIT=#AUTH=F#USR=#PWD=#DBG=F#FNF=F#SUB=T#");
  model.SelectEntry(ComboBox::cmbWhat, kSize);
  EXPECT_TRUE(state().cmbUnitEnabled);
  EXPECT_EQ(state().cmbUnit.text, L"Bytes");

  const struct {
    int kind;
    const wchar_t* path;
    bool enabled;
  } cases[] = {{kSize, L"C:\\a.log", true},          {kCount, L"C:\\a.log", true},
               {kCreationDate, L"C:\\a.log", false}, {kLastWriteDate, L"C:\\a.log", false},
               {kCreationDate, L"C:\\*.log", true},  {kLastWriteDate, L"C:\\a?.log", true}};
  for (const auto& c : cases) {
    model.SelectEntry(ComboBox::cmbWhat, c.kind);
    model.SetText(TextBox::txtFile, c.path);
    EXPECT_EQ(state().chkSubfoldersEnabled, c.enabled) << c.kind << " " << testing::PrintToString(c.path);
  }
  // The three kinds with the box clear write what they always wrote.
  model.SetChecked(CheckBox::chkSubfolders, false);
  model.SelectEntry(ComboBox::cmbWhat, kSize);
  EXPECT_EQ(Confirm(), L"#FILE=C:\\a?.log#WHT=SIZE#CMP=GT#VAL=12#UNIT=B#AUTH=F#USR=#PWD=#DBG=F#FNF=F#");
}

TEST_F(DialogModelTest, PathChangesEnableOldestYoungestOnlyForDateKinds) {
  model.SelectEntry(ComboBox::cmbWhat, kLastWriteDate);
  EXPECT_FALSE(state().cmbOYFileEnabled);
  model.SetText(TextBox::txtFile, L"C:\\logs\\*");
  EXPECT_TRUE(state().cmbOYFileEnabled);
  model.SetText(TextBox::txtFile, L"C:\\logs\\a.txt");
  EXPECT_FALSE(state().cmbOYFileEnabled);
  model.SetText(TextBox::txtFile, L"C:\\logs\\a?.txt");
  EXPECT_TRUE(state().cmbOYFileEnabled);
  model.SelectEntry(ComboBox::cmbWhat, kSize);
  EXPECT_FALSE(state().cmbOYFileEnabled);
  model.SetText(TextBox::txtFile, L"C:\\logs\\*");
  EXPECT_FALSE(state().cmbOYFileEnabled);
}

TEST_F(DialogModelTest, TypedTextInTheComboBoxesWritesTheFallbackCodes) {
  model.TypeText(ComboBox::cmbCompare, L"is huge");
  model.TypeText(ComboBox::cmbUnit, L"Petabytes");
  std::wstring written = Confirm();
  EXPECT_NE(written.find(L"#CMP=GT#"), std::wstring::npos) << written;
  EXPECT_NE(written.find(L"#UNIT=B#"), std::wstring::npos) << written;

  model.SelectEntry(ComboBox::cmbWhat, kCreationDate);
  model.TypeText(ComboBox::cmbUnit, L"weeks ago");
  written = Confirm();
  EXPECT_NE(written.find(L"#WHT=CDATE#"), std::wstring::npos) << written;
  EXPECT_NE(written.find(L"#UNIT=#"), std::wstring::npos) << written;

  model.TypeText(ComboBox::cmbWhat, L"age");
  written = Confirm();
  EXPECT_NE(written.find(L"#WHT=#"), std::wstring::npos) << written;
  EXPECT_NE(written.find(L"#UNIT=#"), std::wstring::npos) << written;
}

TEST_F(DialogModelTest, StoredKindAndUnitAreShownByTheirCodes) {
  struct Case {
    std::wstring parameterString;
    std::wstring kind;
    std::wstring unit;
    std::wstring oldestYoungest;
    bool oldestYoungestEnabled;
    std::wstring comparison;
  };
  const std::wstring oldest = L"of the oldest matching file";
  const std::wstring youngest = L"of the youngest matching file";
  const Case cases[] = {
      {L"#FILE=\\\\srv\\logs\\*.txt#WHT=OLDWRITE#CMP=LT#VAL=2#UNIT=H#", L"last write date",
       L"hours ago", oldest, true, L"is less"},
      {L"#FILE=\\\\srv\\logs\\*.txt#WHT=YOUCREA#UNIT=D#", L"creation date", L"days ago", youngest,
       true, L"is more"},
      {L"#FILE=C:\\a.log#WHT=YOUWRITE#UNIT=N#", L"last write date", L"minutes ago", youngest,
       false, L"is more"},
      {L"#FILE=C:\\*.log#WHT=WDATE#UNIT=h#", L"last write date", L"minutes ago", oldest, true,
       L"is more"},
      {L"#WHT=CDATE#UNIT=TB#CMP=LT#", L"creation date", L"minutes ago", oldest, false, L"is less"},
      {L"#WHT=size#UNIT=MB#", L"size", L"Bytes", oldest, false, L"is bigger"},
      {L"#WHT=SIZE#UNIT=MB#CMP=XX#", L"size", L"Megabytes (MB)", oldest, false, L"is bigger"},
      {L"#WHT=#UNIT=GB#CMP=EQ#", L"size", L"Gigabytes (GB)", oldest, false, L"is equal to"},
      {L"#UNIT=TB#CMP=NQ#", L"size", L"Terabytes (TB)", oldest, false, L"is not equal to"},
      {L"#WHT=SIZE#UNIT=kb#CMP=lt#", L"size", L"Bytes", oldest, false, L"is bigger"},
      {L"#WHT=AGE#UNIT=KB#", L"size", L"Bytes", oldest, false, L"is bigger"},
  };
  for (const Case& c : cases) {
    DialogModel fresh;
    fresh.InitDialog({2, 0, 61});
    FillFromParameters(fresh, c.parameterString, L"srv1", automation);
    const DialogState& shown = fresh.state();
    const std::string label = testing::PrintToString(c.parameterString);
    EXPECT_EQ(shown.cmbWhat.text, c.kind) << label;
    EXPECT_EQ(shown.cmbUnit.text, c.unit) << label;
    EXPECT_EQ(shown.cmbOYFile.text, c.oldestYoungest) << label;
    EXPECT_EQ(shown.cmbOYFileEnabled, c.oldestYoungestEnabled) << label;
    EXPECT_EQ(shown.cmbCompare.text, c.comparison) << label;
  }
}

TEST_F(DialogModelTest, OldOrYoungCodeWithoutWildcardIsWrittenBackAsThePlainDate) {
  Load(L"#FILE=\\\\srv\\share\\a.log#WHT=OLDCREA#CMP=GT#VAL=1#UNIT=D#");
  EXPECT_EQ(state().cmbOYFile.text, L"of the oldest matching file");
  EXPECT_NE(Confirm().find(L"#WHT=CDATE#"), std::wstring::npos);
}

TEST_F(DialogModelTest, StoredTextsAndFlagsAreShown) {
  Load(L"#FILE=C:\\a{0x23}b{0x0d}{0x0a}{0x22}.log#USR=dom{0x23}x#PWD=YWJj#AUTH=T#DBG=T#FNF=t#");
  EXPECT_EQ(state().txtFile, L"C:\\a#b\r\n\".log");
  EXPECT_EQ(state().txtUsername, L"dom{0x23}x");
  EXPECT_EQ(state().txtPassword, L"abc");
  EXPECT_TRUE(state().chkAuthentication);
  EXPECT_TRUE(state().chkDebug);
  EXPECT_FALSE(state().chkunknownfile);
}

TEST_F(DialogModelTest, MissingValueShowsZeroAndMissingFileLeavesThePathEmpty) {
  Load(L"#WHT=SIZE#", L"srv1");
  EXPECT_EQ(state().txtSize, L"0");
  EXPECT_EQ(state().txtFile, L"");
}

TEST_F(DialogModelTest, EqualOrNotEqualWithADateKindFailsWithInvalidPropertyValue) {
  for (const std::wstring comparison : {L"EQ", L"NQ"}) {
    DialogModel fresh;
    fresh.InitDialog({2, 0, 61});
    try {
      FillFromParameters(fresh, L"#FILE=C:\\*.log#WHT=YOUWRITE#CMP=" + comparison +
                                   L"#VAL=3#UNIT=D#DBG=T#",
                               L"srv1", automation);
      ADD_FAILURE() << "no failure for " << testing::PrintToString(comparison);
    } catch (const CheckError& error) {
      EXPECT_EQ(error.number(), 380);
    }
    // What was filled before the comparison stays; the dialog is reused so.
    EXPECT_EQ(fresh.state().cmbWhat.text, L"last write date");
    EXPECT_EQ(fresh.state().cmbUnit.text, L"days ago");
    EXPECT_TRUE(fresh.state().chkDebug);
    EXPECT_EQ(fresh.state().cmbCompare.text, L"is more");
  }
}

TEST_F(DialogModelTest, PasswordThatDoesNotDecodeFailsBeforeAnythingIsShown) {
  try {
    Load(L"#FILE=C:\\a.log#USR=x#PWD==YWJ#DBG=T#");
    ADD_FAILURE() << "no failure";
  } catch (const CheckError& error) {
    EXPECT_EQ(error.number(), 5);
  }
  EXPECT_EQ(state().txtFile, L"");
  EXPECT_EQ(state().txtUsername, L"");
  EXPECT_FALSE(state().chkDebug);
}

TEST_F(DialogModelTest, EntryOutsideTheListIsAnInvalidPropertyValue) {
  for (int index : {-2, 4}) {
    try {
      model.SelectEntry(ComboBox::cmbCompare, index);
      ADD_FAILURE() << index;
    } catch (const CheckError& error) {
      EXPECT_EQ(error.number(), 380);
    }
    EXPECT_EQ(state().cmbCompare.text, L"is bigger");
  }
}

// Two writer outputs that the reader maps onto others, as the parameter
// string's rules fix: no kind reads back as "size" in bytes, and a date
// without a unit reads back in minutes.
TEST_F(DialogModelTest, KindOrDateUnitWithoutSelectionReadsBackAsTheFirstEntry) {
  Load(L"#FILE=C:\\a.log#WHT=#CMP=LT#VAL=1#UNIT=#AUTH=F#USR=#PWD=#DBG=F#FNF=F#");
  EXPECT_EQ(state().cmbWhat.text, L"size");
  EXPECT_EQ(state().cmbUnit.text, L"Bytes");
  Load(L"#FILE=C:\\a.log#WHT=WDATE#CMP=LT#VAL=1#UNIT=#AUTH=F#USR=#PWD=#DBG=F#FNF=F#");
  EXPECT_EQ(state().cmbUnit.text, L"minutes ago");
}

// The subfolders box was added where it covers no control of the design
// and lies inside the window.
TEST(FrmMainLayout, TheSubfoldersBoxCoversNoOtherControl) {
  const auto overlap = [](const frmmain::TwipsRect& a, const frmmain::TwipsRect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
  };
  const auto added = std::find_if(std::begin(frmmain::kLayout), std::end(frmmain::kLayout),
                                  [](const auto& control) { return control.id == kIdChkSubfolders; });
  ASSERT_NE(added, std::end(frmmain::kLayout));
  const frmmain::TwipsRect& place = added->place;
  EXPECT_GE(place.left, 0);
  EXPECT_LE(place.left + place.width, frmmain::kClientWidth);
  EXPECT_LE(place.top + place.height, frmmain::kClientHeight);
  for (const auto& control : frmmain::kLayout) {
    if (control.id == kIdChkSubfolders) continue;
    EXPECT_FALSE(overlap(place, control.place)) << "control " << control.id;
  }
}

// Everything OK can write, loaded into a fresh dialog and confirmed at
// once, is written again unchanged.
TEST(DialogRoundTrip, EveryWrittenParameterStringReadsBackUnchanged) {
  const std::wstring paths[] = {
      L"\\\\srv\\share\\a.log", L"\\\\srv\\share\\*.log", L"C:\\logs\\app?.txt",
      L"\\\\srv\\a#b\\c#.log", L"C:\\\"quoted\" name.log", L"C:\\line\r\nbreak.log",
      L"  C:\\padded.log  ", L"", L"\\\\srv\\logs\\{yyyymmdd -1}.log", L"C:\\{0x0d}\\{0x23}#.log",
      L"=#=\\*",
  };
  const std::wstring users[] = {L"", L"dom\\user", L"  spaced  ", L"a=b", L"dom{0x23}x",
                                L"\xe9l\xe8ve", L"x\r\ny"};
  const std::wstring passwords[] = {L"", L"a", L"ab", L"abc", L" p#ss=w\"rd ", L"\xfc\xdf\xe9"};
  const std::wstring values[] = {L"0",     L"", L".25",     L"-0.5",   L"1e+20", L"123456789012345",
                                 L"1.5",   L"-3", L"1E-300", L"0.1234567890123456789", L"99999"};
  FakeAutomation automation;
  int written = 0;
  for (int kind = 0; kind < 4; ++kind) {
    const bool sizeLike = kind == kSize || kind == kCount;
    const int comparisons = sizeLike ? 4 : 2;
    const int units = kind == kSize ? 5 : kind == kCount ? 0 : 3;
    const int firstUnit = sizeLike ? -1 : 0;
    for (int oldestYoungest = -1; oldestYoungest < 2; ++oldestYoungest) {
      for (int comparison = -1; comparison < comparisons; ++comparison) {
        for (int unit = firstUnit; unit < units; ++unit) {
          for (int flags = 0; flags < 16; ++flags, ++written) {
            DialogModel writer;
            writer.InitDialog({2, 0, 61});
            writer.SetText(TextBox::txtFile, paths[written % std::size(paths)]);
            writer.SelectEntry(ComboBox::cmbWhat, kind);
            writer.SelectEntry(ComboBox::cmbOYFile, oldestYoungest);
            writer.SelectEntry(ComboBox::cmbCompare, comparison);
            writer.SelectEntry(ComboBox::cmbUnit, unit);
            writer.SetChecked(CheckBox::chkAuthentication, flags & 1);
            writer.SetChecked(CheckBox::chkDebug, flags & 2);
            writer.SetChecked(CheckBox::chkunknownfile, flags & 4);
            writer.SetChecked(CheckBox::chkSubfolders, flags & 8);
            writer.SetText(TextBox::txtUsername, users[written % std::size(users)]);
            writer.SetText(TextBox::txtPassword, passwords[written % std::size(passwords)]);
            writer.SetText(TextBox::txtSize, values[written % std::size(values)]);
            automation.decimalSeparator = written % 2 ? L"," : L".";
            if (automation.decimalSeparator == L",") {
              writer.SetText(TextBox::txtSize, ReplaceAll(writer.state().txtSize, L".", L","));
            }
            const std::wstring first = ParameterStringOf(writer.ConfirmDialog(automation));

            DialogModel reader;
            reader.InitDialog({2, 0, 61});
            FillFromParameters(reader, first, L"srv1", automation);
            ASSERT_EQ(ParameterStringOf(reader.ConfirmDialog(automation)), first)
                << "kind " << kind << " oldest/youngest " << oldestYoungest << " comparison "
                << comparison << " unit " << unit << " flags " << flags;
          }
        }
      }
    }
  }
  EXPECT_EQ(written, (3 * 5 * 6 + 2 * 3 * 3 * 3 + 3 * 5 * 1) * 16);
}

}  // namespace
}  // namespace quarnel
