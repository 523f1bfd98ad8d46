#include "plugin/parameter_lint.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quarnel {
namespace {

// A complete size check as the dialog writes it, with one entry replaced.
std::wstring SizeCheckWith(const std::wstring& entry) {
  return L"#FILE=\\\\srv\\logs\\*.log#WHT=SIZE#CMP=GT#VAL=100#UNIT=MB#AUTH=F#USR=#PWD=#DBG=F#FNF=F#" +
         entry;
}

TEST(LintParameterString, StringsThatTheCheckReadsAsMeantGiveNoWarning) {
  const std::wstring clean[] = {
      SizeCheckWith(L""),
      L"#FILE=C:\\logs\\app.log#WHT=WDATE#CMP=LT#VAL=15#UNIT=N#",
      L"#file=C:\\a.log#wht=OLDCREA#cmp=GT#val=2.5e1#unit=D#",  // key names in any case
      L"#FILE=\\\\srv\\share#CMP=LT#VAL= 2 5 #UNIT=KB#",        // no WHT is a size check
      L"#FILE=C:\\a{0x23}b\\x.log#CMP=GT#VAL=.25#UNIT=B#DBG=T#FNF=T#AUTH=F",
      L"#FILE=C:\\a=b#CMP=EQ#UNIT=TB#",                         // "=" inside a value
      L"#FILE=C:\\spool\\*.tmp#WHT=COUNT#CMP=GT#VAL=10#UNIT=#SUB=T#",  // a count has no unit
      L"#FILE=C:\\logs\\*.log#WHT=OLDWRITE#CMP=GT#VAL=2#UNIT=D#SUB=F#",
  };
  for (const std::wstring& text : clean) {
    EXPECT_EQ(LintParameterString(text), std::vector<std::wstring>()) << testing::PrintToString(text);
  }
}

TEST(LintParameterString, NamesEachThingThatIsAlmostSurelyAMistake) {
  const struct {
    std::wstring text;
    std::vector<std::wstring> warnings;
  } cases[] = {
      {L"#FILES=C:\\a.log#CMP=GT#UNIT=B#",
       {L"unknown key 'FILES', which nothing reads (FILE?)",
        L"there is no FILE key: the check has no path to look at"}},
      {SizeCheckWith(L"COLOR=red#"), {L"unknown key 'COLOR', which nothing reads"}},
      {SizeCheckWith(L"DBG =T#"), {L"key 'DBG ' has blanks around its name and is not found; write DBG"}},
      {SizeCheckWith(L"VAL=2#val=3#PWD=c2VjcmV0#"),
       {L"key VAL is given more than once; only the first value ('100') counts",
        L"key PWD is given more than once; only the first value counts"}},
      {L"DBG=T" + SizeCheckWith(L"b#"),
       {L"'DBG=T' comes before the first \"#\" and is not read",
        L"'b' has no \"=\" and is no entry: nothing reads it"}},
      {L"#FILE=#CMP=GT#UNIT=B#", {L"FILE is empty: the check has no path to look at"}},
      {L"#FILE=app.log#CMP=GT#UNIT=B#",
       {L"FILE 'app.log' holds no \"\\\": its files are read under 'app.log\\' and those reads fail"}},
      {L"#FILE=C:\\a#WHT=size#CMP=GT#UNIT=B#",
       {L"WHT 'size' is not one of SIZE, CDATE, WDATE, OLDCREA, YOUCREA, OLDWRITE, YOUWRITE, COUNT "
        L"(letter case counts): the check measures nothing and its result is Empty"}},
      {L"#FILE=C:\\a#WHT=AGE#CMP=GT#UNIT=B#",
       {L"WHT 'AGE' is not one of SIZE, CDATE, WDATE, OLDCREA, YOUCREA, OLDWRITE, YOUWRITE, COUNT: "
        L"the check measures nothing and its result is Empty"}},
      {L"#FILE=C:\\a#CMP=GREATER#UNIT=B#",
       {L"CMP 'GREATER' is not one of LT, GT, EQ, NQ: the check never passes"}},
      {L"#FILE=C:\\a#CMP=gt#UNIT=B#",
       {L"CMP 'gt' is not one of LT, GT, EQ, NQ (letter case counts): the check never passes"}},
      {L"#FILE=C:\\a#UNIT=B#", {L"there is no CMP key: the check never passes"}},
      {L"#FILE=C:\\a#WHT=CDATE#CMP=EQ#UNIT=D#",
       {L"CMP EQ does not compare dates (only LT and GT do): the check never passes"}},
      {L"#FILE=C:\\a#CMP=GT#UNIT=kb#",
       {L"UNIT 'kb' is not one of B, KB, MB, GB, TB (letter case counts): the size is compared in bytes"}},
      {L"#FILE=C:\\a#CMP=GT#UNIT=D#",
       {L"UNIT 'D' is a date unit, but WHT asks for a size: the size is compared in bytes"}},
      {L"#FILE=C:\\a#CMP=GT#", {L"there is no UNIT key: the size is compared in bytes"}},
      {L"#FILE=C:\\a#WHT=YOUWRITE#CMP=GT#UNIT=MB#",
       {L"UNIT 'MB' is a size unit, but WHT asks for a date: the result text says "
        L"'unknown unit (MB)', or the check ends in the error report"}},
      {L"#FILE=C:\\a#WHT=WDATE#CMP=GT#UNIT=n#",
       {L"UNIT 'n' is not one of N, H, D (letter case counts): the result text says "
        L"'unknown unit (n)', or the check ends in the error report"}},
      {L"#FILE=C:\\a#CMP=GT#UNIT=B#VAL=1,5#",
       {L"VAL '1,5' reads as 1 (\".\" is the only decimal point): ',5' is ignored"}},
      {L"#FILE=C:\\a#CMP=GT#UNIT=B#VAL=ten#", {L"VAL 'ten' holds no number: the threshold is 0"}},
      {L"#FILE=C:\\a#CMP=GT#UNIT=B#VAL=1e999#",
       {L"VAL '1e999' is too large for a number: the check ends in an overflow report"}},
      {L"#FILE=C:\\a#CMP=GT#UNIT=B#DBG=t#FNF=yes#",
       {L"DBG 't' is neither T nor F: it counts as F", L"FNF 'yes' is neither T nor F: it counts as F"}},
      {L"#FILE=\\\\srv\\s\\a#CMP=GT#UNIT=B#AUTH=T#FNF=T#",
       {L"FNF=T with AUTH=T: a folder that the share hides from the user (access-based "
        L"enumeration) looks missing, and the check then passes with \"No matching files\""}},
      {L"#FILE=C:\\q\\*#WHT=COUNT#CMP=GT#UNIT=MB#SUB=yes#",
       {L"UNIT 'MB' plays no part in a count of files: it is ignored",
        L"SUB 'yes' is neither T nor F: it counts as F"}},
      {L"#FILE=C:\\a.log#WHT=CDATE#CMP=GT#UNIT=D#SUB=T#",
       {L"SUB=T with WHT=CDATE: the check reads the date of the one file that FILE names, "
        L"subfolders play no part"}},
      {L"#FILE=C:\\a#CMP=GT#UNIT=B#" + std::wstring(100, L'x') + L"=1#",
       {L"unknown key '" + std::wstring(80, L'x') + L"...', which nothing reads"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LintParameterString(c.text), c.warnings) << testing::PrintToString(c.text);
  }
}

TEST(LintParameterString, ReadsAMegabyteOfEntriesInOnePass) {
  std::wstring text = SizeCheckWith(L"");
  for (int i = 0; i < 100000; ++i) text += L"X=123456#";
  EXPECT_EQ(LintParameterString(text).size(), 100000u);
}

}  // namespace
}  // namespace quarnel
