#include "support/unique_any_win32.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "support/com_text_win32.h"

namespace quarnel {
namespace {

TEST(UniqueAny, ClosesTheHandleItHoldsWhenReplacedOrDestroyed) {
  HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(raw, nullptr);
  HANDLE copy = nullptr;
  ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), raw, GetCurrentProcess(), &copy, 0, FALSE,
                              DUPLICATE_SAME_ACCESS));
  {
    unique_handle owner(raw);
    EXPECT_TRUE(static_cast<bool>(owner));
  }
  // The owner closed its handle; the duplicate still works and the original is gone.
  DWORD flags = 0;
  EXPECT_FALSE(GetHandleInformation(raw, &flags));
  EXPECT_TRUE(GetHandleInformation(copy, &flags));

  unique_handle second(copy);
  *second.put() = nullptr;  // put() closes the old handle first
  EXPECT_FALSE(GetHandleInformation(copy, &flags));
  EXPECT_FALSE(static_cast<bool>(second));
}

TEST(UniqueAny, FindHandleTreatsInvalidHandleValueAsEmpty) {
  unique_find search;
  EXPECT_FALSE(static_cast<bool>(search));
  WIN32_FIND_DATAW data;
  search.reset(FindFirstFileW(L"C:\\windows\\*", &data));
  EXPECT_TRUE(static_cast<bool>(search));
  search.reset(FindFirstFileW(L"C:\\no-such-dir-here\\*", &data));
  EXPECT_FALSE(static_cast<bool>(search));
}

TEST(UniqueAny, FileHandleTreatsInvalidHandleValueAsEmpty) {
  const unique_hfile missing(CreateFileW(L"C:\\no-such-dir-here\\file", GENERIC_READ, 0, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(static_cast<bool>(missing));
  wchar_t program[MAX_PATH];
  ASSERT_GT(GetModuleFileNameW(nullptr, program, MAX_PATH), 0u);
  const unique_hfile opened(CreateFileW(program, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
  EXPECT_TRUE(static_cast<bool>(opened));
}

TEST(UniqueVariant, HandsItsTextOverOnAMoveAndToNoOneElse) {
  unique_variant source = TextVariant(std::wstring(L"a\0b", 3));
  unique_variant target(std::move(source));
  EXPECT_EQ(V_VT(&source.get()), VT_EMPTY);
  EXPECT_EQ(TextOfBstr(V_BSTR(&target.get())), std::wstring(L"a\0b", 3));
  source = TextVariant(L"second");
  target = std::move(source);  // the first text is released
  EXPECT_EQ(V_VT(&source.get()), VT_EMPTY);
  EXPECT_EQ(TextOfBstr(V_BSTR(&target.get())), L"second");
}

TEST(UniqueVariant, ClearsItsValue) {
  unique_variant v;
  EXPECT_EQ(v.get().vt, VT_EMPTY);
  V_VT(v.put()) = VT_BSTR;
  V_BSTR(&v.get()) = SysAllocString(L"text");
  VARIANT moved = v.release();
  EXPECT_EQ(v.get().vt, VT_EMPTY);
  EXPECT_STREQ(V_BSTR(&moved), L"text");
  VariantClear(&moved);
}

}  // namespace
}  // namespace quarnel
