#include "params/check_configuration.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/check_error.h"

namespace quarnel {

void PrintTo(const CheckConfiguration& c, std::ostream* os) {
  *os << testing::PrintToString(WriteConfiguration(c));
}

namespace {

// Read, written and read again, the stored strings of the dialog's and the
// lint's cases give the same configuration.
TEST(CheckConfiguration, WrittenConfigurationsReadBackUnchanged) {
  const wchar_t* const cases[] = {
      L"",
      L"#",
      L"#FILE=\\\\srv\\logs\\*.log#WHT=SIZE#CMP=GT#VAL=100#UNIT=MB#AUTH=F#USR=#PWD=#DBG=F#FNF=F#",
      L"#file=C:\\a.log#wht=OLDCREA#cmp=GT#val=2.5e1#unit=D#",
      L"#FILE=\\\\srv\\share#CMP=LT#VAL= 2 5 #UNIT=KB#",
      L"#FILE=C:\\a{0x23}b\\x.log#CMP=GT#VAL=.25#UNIT=B#DBG=T#FNF=T#AUTH=F",
      L"#FILE=C:\\a=b#CMP=EQ#UNIT=TB#",
      L"#FILES=C:\\a.log#CMP=gt#UNIT=kb#VAL=1,5#DBG=t#FNF=yes#",
      L"#FILE=C:\\a#WHT=AGE#CMP=GREATER#UNIT=n#VAL=ten#",
      L"#FILE=\\\\srv\\s\\a#CMP=GT#UNIT=B#AUTH=T#FNF=T#USR=dom\\user#PWD=YWJj#",
      L"#FILE=C:\\a{0x23}b{0x0d}{0x0a}{0x22}.log#USR=dom{0x23}x#PWD=YWJj#AUTH=T#DBG=T#FNF=t#",
      L"#FILE=\\\\srv\\logs\\*.txt#WHT=YOUCREA#UNIT=D#VAL=-1E+20#PWD=6Q==#",
      L"#FILE=C:\\a{0xod}{0x20}b#WHT=OLDWRITE#CMP=LT#VAL=1.5E-07#UNIT=H#",
  };
  for (const wchar_t* text : cases) {
    const CheckConfiguration read = ReadConfiguration(text, ConfigurationReader::Dialog);
    EXPECT_EQ(ReadConfiguration(WriteConfiguration(read), ConfigurationReader::Dialog), read)
        << testing::PrintToString(std::wstring(text));
  }
}

// The check reads each key from the current text, in the documented order,
// credentials only with AUTH=T, and stops at the first value that fails;
// what was read up to then stays.
TEST(CheckConfiguration, TheCheckReadsKeyByKeyAndStopsAtAFailure) {
  struct Case {
    const wchar_t* text;
    int reads;  // texts asked for
    int error;  // 0: none
    const wchar_t* path;
    const wchar_t* unit;
  };
  const Case cases[] = {
      {L"#FILE=C:\\a#UNIT=B#AUTH=F#PWD=x#", 9, 0, L"C:\\a", L"B"},
      {L"#FILE=C:\\a#UNIT=B#AUTH=T#PWD=YWJj#", 11, 0, L"C:\\a", L"B"},
      {L"#FILE=C:\\a#UNIT=B#AUTH=T#PWD==x#", 4, 5, L"", L""},
      {L"#FILE=C:\\a#UNIT=B#VAL=1e999#CMP=GT#", 6, 6, L"C:\\a", L"B"},
  };
  for (const Case& c : cases) {
    int reads = 0;
    const std::wstring text = c.text;
    CheckConfiguration configuration;
    int error = 0;
    try {
      ReadConfiguration(KeySource([&] {
                          ++reads;
                          return text;
                        }),
                        ConfigurationReader::Check, configuration);
    } catch (const CheckError& failure) {
      error = failure.number();
    }
    const std::string label = testing::PrintToString(text);
    EXPECT_EQ(reads, c.reads) << label;
    EXPECT_EQ(error, c.error) << label;
    EXPECT_EQ(configuration.path, c.path) << label;
    EXPECT_EQ(configuration.unit, c.unit) << label;
  }
}

}  // namespace
}  // namespace quarnel
