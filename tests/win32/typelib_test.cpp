// The type library embedded in comquarnel.dll, as hosts and script engines
// read it: the library's identity, the interface _quarnelcom with its flags
// and members in their slots, and the creatable class.

#include "support/windows_win32.h"
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "build_tree.h"
#include "support/unique_any_win32.h"

namespace quarnel {
namespace {

class TypeLibrary : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(LoadTypeLibEx(PluginDllPath().c_str(), REGKIND_NONE, library_.put()), S_OK);
  }

  com_ptr<ITypeInfo> FindType(const std::wstring& name) {
    com_ptr<ITypeInfo> found;
    for (UINT i = 0; i < library_->GetTypeInfoCount(); ++i) {
      unique_bstr typeName;
      library_->GetDocumentation(static_cast<INT>(i), typeName.put(), nullptr, nullptr, nullptr);
      if (typeName && name == typeName.get()) library_->GetTypeInfo(i, found.put());
    }
    return found;
  }

  com_ptr<ITypeLib> library_;
};

// Releases a TYPEATTR, FUNCDESC or TLIBATTR when the test is done with it.
template <typename Attribute, typename Owner, void (STDMETHODCALLTYPE Owner::*release)(Attribute*)>
class Borrowed {
 public:
  Borrowed(Owner* owner, Attribute* attribute) : owner_(owner), attribute_(attribute) {}
  ~Borrowed() {
    if (attribute_) (owner_->*release)(attribute_);
  }
  Borrowed(const Borrowed&) = delete;
  Borrowed& operator=(const Borrowed&) = delete;
  const Attribute* operator->() const { return attribute_; }
  explicit operator bool() const { return attribute_ != nullptr; }

 private:
  Owner* owner_;
  Attribute* attribute_;
};

using TypeAttributes = Borrowed<TYPEATTR, ITypeInfo, &ITypeInfo::ReleaseTypeAttr>;
using FunctionDescription = Borrowed<FUNCDESC, ITypeInfo, &ITypeInfo::ReleaseFuncDesc>;
using LibraryAttributes = Borrowed<TLIBATTR, ITypeLib, &ITypeLib::ReleaseTLibAttr>;

TYPEATTR* AttributesOf(ITypeInfo* info) {
  TYPEATTR* attributes = nullptr;
  info->GetTypeAttr(&attributes);
  return attributes;
}

TEST_F(TypeLibrary, IsVersion1Point0ForUsEnglishWithItsHelpFile) {
  TLIBATTR* raw = nullptr;
  ASSERT_EQ(library_->GetLibAttr(&raw), S_OK);
  const LibraryAttributes attributes(library_.get(), raw);
  EXPECT_EQ(attributes->wMajorVerNum, 1);
  EXPECT_EQ(attributes->wMinorVerNum, 0);
  EXPECT_EQ(attributes->lcid, 0x0409u);
  // The type library is built for the bitness of the DLL that carries it.
  EXPECT_EQ(attributes->syskind, sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);

  unique_bstr name;
  unique_bstr helpFile;
  ASSERT_EQ(library_->GetDocumentation(-1, name.put(), nullptr, nullptr, helpFile.put()), S_OK);
  EXPECT_STREQ(name.get(), L"comQuarnel");
  ASSERT_TRUE(helpFile);
  // Readers may put the library's directory in front of the file name.
  const std::wstring help = helpFile.get();
  const std::wstring expectedName = L"comtolvane.chm";
  EXPECT_TRUE(help == expectedName || (help.size() > expectedName.size() &&
                                       help.compare(help.size() - expectedName.size() - 1,
                                                    std::wstring::npos, L"\\" + expectedName) == 0))
      << help;
}

std::wstring NameOf(ITypeInfo* info) {
  unique_bstr name;
  info->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr);
  return name ? std::wstring(name.get()) : std::wstring();
}

// The interface proper behind the dispatch view of a dual interface.
com_ptr<ITypeInfo> VtableViewOf(ITypeInfo* dispatchView) {
  com_ptr<ITypeInfo> vtableView;
  HREFTYPE reference = 0;
  if (SUCCEEDED(dispatchView->GetRefTypeOfImplType(static_cast<UINT>(-1), &reference))) {
    dispatchView->GetRefTypeInfo(reference, vtableView.put());
  }
  return vtableView;
}

TEST_F(TypeLibrary, InterfaceIsHiddenNonextensibleDualAutomationDerivedFromIDispatch) {
  const com_ptr<ITypeInfo> dispatchView = FindType(L"_quarnelcom");
  ASSERT_TRUE(dispatchView);
  const com_ptr<ITypeInfo> vtableView = VtableViewOf(dispatchView.get());
  ASSERT_TRUE(vtableView);
  const WORD interfaceFlags = TYPEFLAG_FDUAL | TYPEFLAG_FHIDDEN | TYPEFLAG_FNONEXTENSIBLE;

  const TypeAttributes dispatchAttributes(dispatchView.get(), AttributesOf(dispatchView.get()));
  ASSERT_TRUE(dispatchAttributes);
  EXPECT_EQ(dispatchAttributes->typekind, TKIND_DISPATCH);
  const WORD dispatchFlags = interfaceFlags | TYPEFLAG_FDISPATCHABLE;
  EXPECT_EQ(dispatchAttributes->wTypeFlags & dispatchFlags, dispatchFlags)
      << std::hex << dispatchAttributes->wTypeFlags;

  const TypeAttributes vtableAttributes(vtableView.get(), AttributesOf(vtableView.get()));
  ASSERT_TRUE(vtableAttributes);
  EXPECT_EQ(vtableAttributes->typekind, TKIND_INTERFACE);
  const WORD vtableFlags = interfaceFlags | TYPEFLAG_FOLEAUTOMATION;
  EXPECT_EQ(vtableAttributes->wTypeFlags & vtableFlags, vtableFlags)
      << std::hex << vtableAttributes->wTypeFlags;
  EXPECT_EQ(vtableAttributes->wTypeFlags & TYPEFLAG_FCANCREATE, 0);

  ASSERT_EQ(vtableAttributes->cImplTypes, 1);
  HREFTYPE baseReference = 0;
  ASSERT_EQ(vtableView->GetRefTypeOfImplType(0, &baseReference), S_OK);
  com_ptr<ITypeInfo> base;
  ASSERT_EQ(vtableView->GetRefTypeInfo(baseReference, base.put()), S_OK);
  EXPECT_EQ(NameOf(base.get()), L"IDispatch");
}

struct ExpectedMember {
  const wchar_t* name;
  INVOKEKIND kind;
  MEMBERID id;
  // The one parameter, or VT_EMPTY for none.
  VARTYPE parameterType;
  USHORT parameterFlags;
};

TEST_F(TypeLibrary, InterfaceHasTheFourteenMembersInTheirSlots) {
  const VARTYPE boolPointer = VT_BOOL | VT_BYREF;  // stands for VT_PTR to VT_BOOL
  const VARTYPE variantPointer = VT_VARIANT | VT_BYREF;
  const USHORT retval = PARAMFLAG_FOUT | PARAMFLAG_FRETVAL;
  const ExpectedMember expected[] = {
      {L"sa_docheck", INVOKE_FUNC, 0x60030004, boolPointer, retval},
      {L"sa_showGUI", INVOKE_FUNC, 0x60030005, VT_EMPTY, 0},
      {L"sa_result", INVOKE_PROPERTYPUT, 0x68030003, VT_VARIANT, PARAMFLAG_FIN},
      {L"sa_result", INVOKE_PROPERTYPUTREF, 0x68030003, VT_VARIANT, PARAMFLAG_FIN},
      {L"sa_result", INVOKE_PROPERTYGET, 0x68030003, variantPointer, retval},
      {L"sa_parameter", INVOKE_PROPERTYPUT, 0x68030002, VT_VARIANT, PARAMFLAG_FIN},
      {L"sa_parameter", INVOKE_PROPERTYPUTREF, 0x68030002, VT_VARIANT, PARAMFLAG_FIN},
      {L"sa_parameter", INVOKE_PROPERTYGET, 0x68030002, variantPointer, retval},
      {L"sa_timeout", INVOKE_PROPERTYPUT, 0x68030001, VT_VARIANT, PARAMFLAG_FIN},
      {L"sa_timeout", INVOKE_PROPERTYPUTREF, 0x68030001, VT_VARIANT, PARAMFLAG_FIN},
      {L"sa_timeout", INVOKE_PROPERTYGET, 0x68030001, variantPointer, retval},
      {L"sa_hostname", INVOKE_PROPERTYPUT, 0x68030000, VT_VARIANT, PARAMFLAG_FIN},
      {L"sa_hostname", INVOKE_PROPERTYPUTREF, 0x68030000, VT_VARIANT, PARAMFLAG_FIN},
      {L"sa_hostname", INVOKE_PROPERTYGET, 0x68030000, variantPointer, retval},
  };

  // In the interface proper, the own members follow the slots of IDispatch.
  const com_ptr<ITypeInfo> dispatchView = FindType(L"_quarnelcom");
  ASSERT_TRUE(dispatchView);
  const com_ptr<ITypeInfo> vtableView = VtableViewOf(dispatchView.get());
  ASSERT_TRUE(vtableView);
  const TypeAttributes attributes(vtableView.get(), AttributesOf(vtableView.get()));
  ASSERT_TRUE(attributes);
  ASSERT_EQ(attributes->cFuncs, 14);

  const SHORT dispatchSlots = 7;
  for (UINT index = 0; index < 14; ++index) {
    SCOPED_TRACE(testing::Message() << "member " << index + 1);
    const ExpectedMember& member = expected[index];
    FUNCDESC* raw = nullptr;
    ASSERT_EQ(vtableView->GetFuncDesc(index, &raw), S_OK);
    const FunctionDescription function(vtableView.get(), raw);

    unique_bstr name;
    vtableView->GetDocumentation(function->memid, name.put(), nullptr, nullptr, nullptr);
    EXPECT_STREQ(name.get(), member.name);
    EXPECT_EQ(function->invkind, member.kind);
    EXPECT_EQ(function->memid, member.id);
    EXPECT_EQ(function->oVft, (dispatchSlots + static_cast<SHORT>(index)) * sizeof(void*));
    EXPECT_EQ(function->funckind, FUNC_PUREVIRTUAL);
    EXPECT_EQ(function->callconv, CC_STDCALL);
    EXPECT_EQ(function->elemdescFunc.tdesc.vt, VT_HRESULT);
    if (member.parameterType == VT_EMPTY) {
      EXPECT_EQ(function->cParams, 0);
      continue;
    }
    ASSERT_EQ(function->cParams, 1);
    const ELEMDESC& parameter = function->lprgelemdescParam[0];
    EXPECT_EQ(parameter.paramdesc.wParamFlags, member.parameterFlags);
    if (member.parameterType & VT_BYREF) {
      ASSERT_EQ(parameter.tdesc.vt, VT_PTR);
      EXPECT_EQ(parameter.tdesc.lptdesc->vt, member.parameterType & ~VT_BYREF);
    } else {
      EXPECT_EQ(parameter.tdesc.vt, member.parameterType);
    }
  }
}

TEST_F(TypeLibrary, ClassIsCreatableWithItsDefaultInterface) {
  const com_ptr<ITypeInfo> coclass = FindType(L"quarnelcom");
  ASSERT_TRUE(coclass);
  const TypeAttributes attributes(coclass.get(), AttributesOf(coclass.get()));
  ASSERT_TRUE(attributes);
  EXPECT_EQ(attributes->typekind, TKIND_COCLASS);
  EXPECT_NE(attributes->wTypeFlags & TYPEFLAG_FCANCREATE, 0);
  ASSERT_EQ(attributes->cImplTypes, 1);

  INT flags = 0;
  ASSERT_EQ(coclass->GetImplTypeFlags(0, &flags), S_OK);
  EXPECT_NE(flags & IMPLTYPEFLAG_FDEFAULT, 0);
  HREFTYPE reference = 0;
  ASSERT_EQ(coclass->GetRefTypeOfImplType(0, &reference), S_OK);
  com_ptr<ITypeInfo> implemented;
  ASSERT_EQ(coclass->GetRefTypeInfo(reference, implemented.put()), S_OK);
  EXPECT_EQ(NameOf(implemented.get()), L"_quarnelcom");
}

}  // namespace
}  // namespace quarnel
