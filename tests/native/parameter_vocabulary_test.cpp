#include "params/parameter_vocabulary.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "params/check_configuration.h"

namespace quarnel {
namespace {

// What each module reads from a unit's row, for the codes of the table and
// for those that the check takes literally (another letter case, an
// interval of the date difference, no code at all).
TEST(ParameterVocabulary, UnitCodesGiveTheFactsOfTheirRow) {
  struct Case {
    const wchar_t* code;
    double divisor;
    int decimals;
    const wchar_t* word;
    const wchar_t* interval;
    std::optional<int> minutes;
  };
  const Case cases[] = {
      {L"B", 1, 0, L"unknown unit (B)", L"B", std::nullopt},
      {L"KB", 1024, 1, L"unknown unit (KB)", L"KB", std::nullopt},
      {L"TB", 1099511627776.0, 1, L"unknown unit (TB)", L"TB", std::nullopt},
      {L"b", 1, 1, L"unknown unit (b)", L"b", std::nullopt},
      {L"", 1, 1, L"unknown unit ()", L"", std::nullopt},
      {L"N", 1, 1, L"minutes", L"n", 1},
      {L"h", 1, 1, L"unknown unit (h)", L"h", 60},
      {L"D", 1, 1, L"days", L"d", 1440},
      {L"ww", 1, 1, L"unknown unit (ww)", L"ww", std::nullopt},
  };
  for (const Case& c : cases) {
    const std::string label = testing::PrintToString(std::wstring(c.code));
    EXPECT_EQ(SizeUnitDivisor(c.code), c.divisor) << label;
    EXPECT_EQ(CountsBytes(c.code), c.divisor == 1) << label;
    EXPECT_EQ(SizeDecimals(c.code), c.decimals) << label;
    EXPECT_EQ(AgeUnitWord(c.code), c.word) << label;
    EXPECT_EQ(AgeInterval(c.code), c.interval) << label;
    EXPECT_EQ(MinutesPerAgeUnit(c.code), c.minutes) << label;
  }
}

// The dialog shows a kind by its list entry and the oldest/youngest pick,
// and gives back the code of that pair: no two kinds may share one.
TEST(ParameterVocabulary, EachKindIsOneEntryOfTheDialogWithItsPick) {
  std::set<std::pair<int, Pick>> shown;
  for (const Kind& kind : kKinds) {
    EXPECT_EQ(KindOf(kind.code), &kind);
    EXPECT_EQ(kind.pick != Pick::None, kind.reads == Reads::Listing && IsDate(kind)) << kind.code;
    EXPECT_TRUE(shown.insert({kind.dialogIndex, kind.pick}).second) << kind.code;
  }
  EXPECT_EQ(KindOf(L""), KindOf(L"SIZE"));
  EXPECT_EQ(KindOf(L"size"), nullptr);
}

// Equality, reading and writing go by the table: a configuration that
// differs in any one key is another one, and reads back as itself.
TEST(ParameterVocabulary, EveryKeyCountsInEqualityAndReadsBack) {
  for (const ConfigurationKey& key : kKeys) {
    CheckConfiguration changed;
    std::visit(
        [&](auto field) {
          using Value = std::decay_t<decltype(changed.*field)>;
          if constexpr (std::is_same_v<Value, bool>) {
            changed.*field = true;
          } else if constexpr (std::is_same_v<Value, std::wstring>) {
            changed.*field = L"x";
          } else {
            changed.*field = 2.5;
          }
        },
        key.field);
    EXPECT_NE(changed, CheckConfiguration{}) << testing::PrintToString(std::wstring(key.name));
    EXPECT_EQ(ReadConfiguration(WriteConfiguration(changed), ConfigurationReader::Dialog), changed)
        << testing::PrintToString(std::wstring(key.name));
  }
}

}  // namespace
}  // namespace quarnel
