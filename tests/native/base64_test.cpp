#include "params/base64.h"

#include <gtest/gtest.h>

#include <string>

#include "support/check_error.h"

namespace quarnel {
namespace {

// RFC 4648, section 10.
const struct {
  const char* bytes;
  const char* encoded;
} kRfc4648Vectors[] = {
    {"", ""},           {"f", "Zg=="},         {"fo", "Zm8="},
    {"foo", "Zm9v"},    {"foob", "Zm9vYg=="},  {"fooba", "Zm9vYmE="},
    {"foobar", "Zm9vYmFy"},
};

TEST(Base64, EncodesAndDecodesTheRfc4648Vectors) {
  for (const auto& vector : kRfc4648Vectors) {
    EXPECT_EQ(Base64Encode(vector.bytes), vector.encoded);
    EXPECT_EQ(Base64Decode(vector.encoded), vector.bytes);
  }
}

TEST(Base64, RoundTripsEveryByteValue) {
  std::string allBytes;
  for (int b = 0; b < 256; ++b) allBytes += static_cast<char>(b);
  for (std::size_t length = 0; length <= 4; ++length) {
    const std::string bytes = allBytes.substr(256 - length) + allBytes;
    EXPECT_EQ(Base64Decode(Base64Encode(bytes)), bytes) << "length " << bytes.size();
  }
  EXPECT_EQ(Base64Encode(std::string("\xff\xfe\x00", 3)), "//4A");
  EXPECT_EQ(Base64Encode(std::string("\x00", 1)), "AA==");
}

TEST(Base64Decode, ReadsIncompleteAndInnerPadding) {
  const struct {
    const char* encoded;
    std::string bytes;
  } cases[] = {
      {"YWJ", "ab"},          // padding missing at the end
      {"YQ", "a"},
      {"Y", ""},              // one character over yields nothing
      {"Y===", ""},
      {"YQ==YQ==", "aa"},     // padding ends its own group only
      {"YQ=AYWJj", "aabc"},   // "=" in place 2 leaves one byte; the rest of the group is ignored
      {"YWJjY", "abc"},
      {"YW=j", "a"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Base64Decode(c.encoded), c.bytes) << c.encoded;
  }
}

TEST(Base64Decode, TakesForeignCharactersAsZeroInTheirPlace) {
  // A line break is not skipped: it stands for the digit 0 ("A").
  EXPECT_EQ(Base64Decode("YW\r\nJj"), Base64Decode("YWAAJj"));
  EXPECT_EQ(Base64Decode("YW\nJ"), Base64Decode("YWAJ"));
  EXPECT_EQ(Base64Decode("*!\xc3\xa9?"), std::string(3, '\0'));
  // Letter case counts: the wrong case decodes without error to other bytes.
  EXPECT_EQ(Base64Decode("ywjj"), "\xcb\x08\xe3");
  EXPECT_NE(Base64Decode("ywjj"), "abc");
}

TEST(Base64Decode, FailsWhenAGroupBeginsWithPadding) {
  for (const char* encoded : {"=YWJ", "=", "====", "YWJj=AAA", "YWJj="}) {
    try {
      Base64Decode(encoded);
      ADD_FAILURE() << encoded << " decoded without error";
    } catch (const CheckError& error) {
      EXPECT_EQ(error.number(), static_cast<int>(ErrorNumber::InvalidArgument)) << encoded;
    }
  }
}

TEST(Base64Digit, MapsValuesToDigitsAtTheBoundaries) {
  const struct {
    int value;
    const wchar_t* digit;
  } cases[] = {
      {-2, L""}, {-1, L"="}, {0, L"A"}, {25, L"Z"}, {26, L"a"}, {51, L"z"},
      {52, L"0"}, {61, L"9"}, {62, L"+"}, {63, L"/"}, {64, L""}, {1000, L""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Base64Digit(c.value), c.digit) << c.value;
  }
}

TEST(Base64Digit, MapsCharactersToValuesWithZeroForTheRest) {
  const struct {
    std::wstring character;
    int value;
  } cases[] = {
      {L"A", 0},  {L"Z", 25}, {L"a", 26},   {L"z", 51},
      {L"0", 52}, {L"9", 61}, {L"+", 62},   {L"/", 63},
      {L"Ab", 0}, {L"bA", 27},  // only the first character counts
      {L"=", 0},  {L"", 0},   {L"#", 0},    {L"-", 0},  {L"_", 0},
      {std::wstring(1, L'\0'), 0},
      {L"\u0141", 0},  // its low byte is "A"
      {L"\uff21", 0},  // full-width A
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Base64Digit(c.character), c.value) << testing::PrintToString(c.character);
  }
}

TEST(Password, EncodesTheAnsiBytesOfTheText) {
  const struct {
    std::wstring clear;
    std::wstring encoded;
  } cases[] = {
      {L"", L""},
      {L"a", L"YQ=="},
      {L"ab", L"YWI="},
      {L"abc", L"YWJj"},
      {L"P#ss w0rd", L"UCNzcyB3MHJk"},
      {L"\u00fc\u00df", L"/N8="},  // Latin-1 bytes 0xFC 0xDF
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncodePassword(c.clear), c.encoded) << testing::PrintToString(c.clear);
    EXPECT_EQ(DecodePassword(c.encoded), c.clear) << testing::PrintToString(c.encoded);
  }
}

TEST(Password, EncodedTextUsesOnlyTheAlphabet) {
  std::wstring clear;
  for (wchar_t c = 1; c < 0x100; ++c) clear += c;
  const std::wstring encoded = EncodePassword(clear);
  EXPECT_EQ(encoded.find_first_not_of(
                L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/="),
            std::wstring::npos);
  EXPECT_EQ(DecodePassword(encoded), clear);
}

TEST(Password, TakesNonAsciiEncodedCharactersAsZeroInTheirPlace) {
  // U+0141 and U+FF21 must neither turn into "A" nor take two places.
  EXPECT_EQ(DecodePassword(L"YW\u0141j"), DecodePassword(L"YWAj"));
  EXPECT_EQ(DecodePassword(L"\uff21\uff21\uff21\uff21YQ=="), DecodePassword(L"AAAAYQ=="));
  EXPECT_EQ(DecodePassword(L"YQ=\u00e9"), L"a");
  EXPECT_THROW(DecodePassword(L"=YWJ"), CheckError);
}

}  // namespace
}  // namespace quarnel
