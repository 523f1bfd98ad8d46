// The plug-in object through its registered class, as a C++ host binds to
// it: property semantics, object references, the methods' results, the
// dispatch errors and the DLL's unloading rule.

#include "support/windows_win32.h"
#include <oleauto.h>

#include <gtest/gtest.h>

#include "com_client.h"
#include "support/unique_any_win32.h"

namespace quarnel {
namespace {

const testing::Environment* const apartment =
    testing::AddGlobalTestEnvironment(new MainThreadApartment);

// The three accessors of one property.
struct Property {
  const char* name;
  HRESULT (STDMETHODCALLTYPE _quarnelcom::*put)(VARIANT);
  HRESULT (STDMETHODCALLTYPE _quarnelcom::*putref)(VARIANT);
  HRESULT (STDMETHODCALLTYPE _quarnelcom::*get)(VARIANT*);
};

const Property kProperties[] = {
    {"sa_result", &_quarnelcom::put_sa_result, &_quarnelcom::putref_sa_result,
     &_quarnelcom::get_sa_result},
    {"sa_parameter", &_quarnelcom::put_sa_parameter, &_quarnelcom::putref_sa_parameter,
     &_quarnelcom::get_sa_parameter},
    {"sa_timeout", &_quarnelcom::put_sa_timeout, &_quarnelcom::putref_sa_timeout,
     &_quarnelcom::get_sa_timeout},
    {"sa_hostname", &_quarnelcom::put_sa_hostname, &_quarnelcom::putref_sa_hostname,
     &_quarnelcom::get_sa_hostname},
};

VARIANT Number(LONG number) {
  VARIANT value;
  V_VT(&value) = VT_I4;
  V_I4(&value) = number;
  return value;
}

// The object as an argument that the callee does not own: the callee takes
// a reference of its own if it keeps the object.
VARIANT BorrowedObject(CountedObject& object) {
  VARIANT value;
  V_VT(&value) = VT_DISPATCH;
  V_DISPATCH(&value) = &object;
  return value;
}

TEST(QuarnelObject, EveryPropertyOfANewObjectIsEmpty) {
  const com_ptr<_quarnelcom> plugin = CreatePlugin();
  ASSERT_TRUE(plugin);
  for (const Property& property : kProperties) {
    unique_variant value;
    ASSERT_EQ((plugin.get()->*property.get)(value.put()), S_OK) << property.name;
    EXPECT_EQ(V_VT(&value.get()), VT_EMPTY) << property.name;
  }
}

TEST(QuarnelObject, PutStoresACopyThatKeepsItsType) {
  const com_ptr<_quarnelcom> plugin = CreatePlugin();
  ASSERT_TRUE(plugin);
  for (const Property& property : kProperties) {
    SCOPED_TRACE(property.name);
    unique_variant number;
    *number.put() = Number(30);
    ASSERT_EQ((plugin.get()->*property.put)(number.get()), S_OK);
    unique_variant readBack;
    ASSERT_EQ((plugin.get()->*property.get)(readBack.put()), S_OK);
    EXPECT_EQ(V_VT(&readBack.get()), VT_I4);
    EXPECT_EQ(V_I4(&readBack.get()), 30);

    unique_variant text;
    MakeText(text.put(), L"#WHT=SIZE#");
    ASSERT_EQ((plugin.get()->*property.put)(text.get()), S_OK);
    V_BSTR(&text.get())[0] = L'!';  // the caller's text changes; the stored copy must not
    ASSERT_EQ((plugin.get()->*property.get)(readBack.put()), S_OK);
    ASSERT_EQ(V_VT(&readBack.get()), VT_BSTR);
    EXPECT_STREQ(V_BSTR(&readBack.get()), L"#WHT=SIZE#");
    EXPECT_NE(V_BSTR(&readBack.get()), V_BSTR(&text.get()));
  }
}

TEST(QuarnelObject, PutOfAByReferenceValueStoresTheValueNotThePointer) {
  const com_ptr<_quarnelcom> plugin = CreatePlugin();
  ASSERT_TRUE(plugin);
  LONG callersVariable = 30;
  VARIANT reference;
  V_VT(&reference) = VT_I4 | VT_BYREF;
  V_I4REF(&reference) = &callersVariable;
  ASSERT_EQ(plugin->put_sa_timeout(reference), S_OK);
  callersVariable = 99;

  unique_variant readBack;
  ASSERT_EQ(plugin->get_sa_timeout(readBack.put()), S_OK);
  EXPECT_EQ(V_VT(&readBack.get()), VT_I4);
  EXPECT_EQ(V_I4(&readBack.get()), 30);
}

TEST(QuarnelObject, PutrefHoldsTheObjectItselfUntilReplacedOrReleased) {
  CountedObject object;
  {
    const com_ptr<_quarnelcom> plugin = CreatePlugin();
    ASSERT_TRUE(plugin);
    ASSERT_EQ(plugin->putref_sa_hostname(BorrowedObject(object)), S_OK);
    EXPECT_EQ(object.references, 2u);
    {
      unique_variant readBack;
      ASSERT_EQ(plugin->get_sa_hostname(readBack.put()), S_OK);
      ASSERT_EQ(V_VT(&readBack.get()), VT_DISPATCH);
      EXPECT_EQ(V_DISPATCH(&readBack.get()), static_cast<IDispatch*>(&object));
      EXPECT_EQ(object.references, 3u) << "get hands out a new reference";
    }
    EXPECT_EQ(object.references, 2u);

    ASSERT_EQ(plugin->put_sa_hostname(Number(1)), S_OK);
    EXPECT_EQ(object.references, 1u) << "replacing the value lets the object go";
    ASSERT_EQ(plugin->putref_sa_parameter(BorrowedObject(object)), S_OK);
    EXPECT_EQ(object.references, 2u);
  }
  EXPECT_EQ(object.references, 1u) << "releasing the plug-in lets the object go";
}

TEST(QuarnelObject, PutrefOfAValueWithoutAnObjectStoresItAsPutWould) {
  const com_ptr<_quarnelcom> plugin = CreatePlugin();
  ASSERT_TRUE(plugin);
  for (const Property& property : kProperties) {
    ASSERT_EQ((plugin.get()->*property.putref)(Number(30)), S_OK) << property.name;
    unique_variant readBack;
    ASSERT_EQ((plugin.get()->*property.get)(readBack.put()), S_OK);
    EXPECT_EQ(V_VT(&readBack.get()), VT_I4) << property.name;
    EXPECT_EQ(V_I4(&readBack.get()), 30) << property.name;
  }
}

TEST(QuarnelObject, DocheckStoresAFreshResultTextEachTime) {
  const com_ptr<_quarnelcom> plugin = CreatePlugin();
  const com_ptr<_quarnelcom> other = CreatePlugin();
  ASSERT_TRUE(plugin && other);
  ASSERT_EQ(PutParameterString(plugin.get(), L"#WHT=SIZE#"), S_OK);

  for (int run = 0; run < 2; ++run) {
    ASSERT_EQ(plugin->put_sa_result(Number(12345)), S_OK);
    VARIANT_BOOL status = 1;  // neither true nor false: the call has to set it
    ASSERT_EQ(plugin->sa_docheck(&status), S_OK);
    EXPECT_TRUE(status == VARIANT_TRUE || status == VARIANT_FALSE) << status;
    unique_variant result;
    ASSERT_EQ(plugin->get_sa_result(result.put()), S_OK);
    ASSERT_EQ(V_VT(&result.get()), VT_BSTR) << "run " << run;
    EXPECT_GT(SysStringLen(V_BSTR(&result.get())), 0u);
  }

  unique_variant othersResult;
  ASSERT_EQ(other->get_sa_result(othersResult.put()), S_OK);
  EXPECT_EQ(V_VT(&othersResult.get()), VT_EMPTY) << "a check changed another object";
}

struct ShowGuiFailure {
  const char* situation;
  HRESULT (STDMETHODCALLTYPE _quarnelcom::*put)(VARIANT);
  VARTYPE storedType;
  HRESULT expected;
  const wchar_t* description;
};

TEST(QuarnelObject, ShowGuiReportsAPropertyWithoutTextAsAnErrorWithDescription) {
  CountedObject object;
  const ShowGuiFailure failures[] = {
      {"Null parameter string", &_quarnelcom::put_sa_parameter, VT_NULL,
       MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 94), L"Invalid use of Null"},
      {"Null host name", &_quarnelcom::put_sa_hostname, VT_NULL,
       MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 94), L"Invalid use of Null"},
      {"object as time-out", &_quarnelcom::putref_sa_timeout, VT_DISPATCH,
       MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 13), L"Type mismatch"},
  };
  for (const ShowGuiFailure& failure : failures) {
    SCOPED_TRACE(failure.situation);
    const com_ptr<_quarnelcom> plugin = CreatePlugin();
    ASSERT_TRUE(plugin);
    unique_variant stored;
    if (failure.storedType == VT_DISPATCH) {
      MakeObject(stored.put(), object);
    } else {
      V_VT(stored.put()) = failure.storedType;
    }
    ASSERT_EQ((plugin.get()->*failure.put)(stored.get()), S_OK);

    EXPECT_EQ(plugin->sa_showGUI(), failure.expected);
    com_ptr<IErrorInfo> error;
    ASSERT_EQ(GetErrorInfo(0, error.put()), S_OK);
    unique_bstr description;
    unique_bstr source;
    error->GetDescription(description.put());
    error->GetSource(source.put());
    EXPECT_STREQ(description.get(), failure.description);
    EXPECT_STREQ(source.get(), kPluginProgId);

    com_ptr<ISupportErrorInfo> support;
    ASSERT_EQ(plugin->QueryInterface(IID_ISupportErrorInfo, support.put_void()), S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID__quarnelcom), S_OK);
  }
}

TEST(QuarnelObject, DispatchAnswersFromTheTypeInformation) {
  const com_ptr<_quarnelcom> plugin = CreatePlugin();
  ASSERT_TRUE(plugin);
  IDispatch* dispatch = plugin.get();

  const struct {
    const wchar_t* name;
    HRESULT expected;
    DISPID id;
  } names[] = {
      {L"sa_docheck", S_OK, 0x60030004},  {L"SA_SHOWGUI", S_OK, 0x60030005},
      {L"sa_result", S_OK, 0x68030003},   {L"sa_parameter", S_OK, 0x68030002},
      {L"sa_timeout", S_OK, 0x68030001},  {L"sa_hostname", S_OK, 0x68030000},
      {L"sa_nothing", DISP_E_UNKNOWNNAME, DISPID_UNKNOWN},
  };
  for (const auto& entry : names) {
    LPOLESTR name = const_cast<LPOLESTR>(entry.name);
    DISPID id = 0;
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id),
              entry.expected)
        << entry.name;
    EXPECT_EQ(id, entry.id) << entry.name;
  }

  VARIANT argument = Number(1);
  DISPPARAMS oneArgument{&argument, nullptr, 1, 0};
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  unique_variant result;
  EXPECT_EQ(dispatch->Invoke(0x60030004, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                             &oneArgument, result.put(), nullptr, nullptr),
            DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(dispatch->Invoke(0x12345, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none,
                             result.put(), nullptr, nullptr),
            DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(dispatch->Invoke(0x60030004, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none,
                             result.put(), nullptr, nullptr),
            S_OK);
  EXPECT_EQ(V_VT(&result.get()), VT_BOOL);

  // A put through Invoke reaches the same property as the vtable.
  DISPID putId = DISPID_PROPERTYPUT;
  VARIANT thirty = Number(30);
  DISPPARAMS put{&thirty, &putId, 1, 1};
  ASSERT_EQ(dispatch->Invoke(0x68030001, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                             &put, nullptr, nullptr, nullptr),
            S_OK);
  unique_variant timeout;
  ASSERT_EQ(plugin->get_sa_timeout(timeout.put()), S_OK);
  EXPECT_EQ(V_VT(&timeout.get()), VT_I4);
  EXPECT_EQ(V_I4(&timeout.get()), 30);
}

TEST(QuarnelObject, EveryObjectAnswersFromTheSameTypeInformationLoadedOnce) {
  com_ptr<ITypeInfo> first, second;
  ASSERT_EQ(CreatePlugin()->GetTypeInfo(0, LOCALE_USER_DEFAULT, first.put()), S_OK);
  ASSERT_EQ(CreatePlugin()->GetTypeInfo(0, LOCALE_USER_DEFAULT, second.put()), S_OK);
  EXPECT_EQ(first.get(), second.get());
}

TEST(QuarnelObject, ClassRefusesAggregation) {
  CountedObject outer;
  com_ptr<IUnknown> inner;
  EXPECT_EQ(CoCreateInstance(PluginClassId(), &outer, CLSCTX_INPROC_SERVER, IID_IUnknown, inner.put_void()),
            CLASS_E_NOAGGREGATION);
}

class ServerModule : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(module_.loaded()); }

  const PluginModule module_;
};

TEST_F(ServerModule, CanUnloadOnlyWhenNoObjectLives) {
  EXPECT_EQ(module_.CanUnloadNow(), S_OK);
  {
    const com_ptr<_quarnelcom> plugin = CreatePlugin();
    ASSERT_TRUE(plugin);
    EXPECT_EQ(module_.CanUnloadNow(), S_FALSE);
  }
  EXPECT_EQ(module_.CanUnloadNow(), S_OK);
}

TEST_F(ServerModule, CanUnloadOnlyWhenNoServerLockIsHeld) {
  {
    const com_ptr<IClassFactory> factory = GetPluginFactory();
    ASSERT_TRUE(factory);
    ASSERT_EQ(factory->LockServer(TRUE), S_OK);
  }
  EXPECT_EQ(module_.CanUnloadNow(), S_FALSE);
  {
    const com_ptr<IClassFactory> factory = GetPluginFactory();
    ASSERT_TRUE(factory);
    ASSERT_EQ(factory->LockServer(FALSE), S_OK);
  }
  EXPECT_EQ(module_.CanUnloadNow(), S_OK);
}

}  // namespace
}  // namespace quarnel
