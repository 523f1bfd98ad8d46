// The plug-in object fed with values no sane host stores: every property
// given Empty, Null, numbers, dates, Booleans, arrays, objects, texts with
// NUL characters and texts of 10 MB. A check then works or ends in its error
// report; sa_showGUI refuses what it cannot show before any window opens;
// IDispatch answers wrong names, argument counts and invoke kinds with the
// standard dispatch errors. After each hostile value the object must still
// run a good check to its exact result.

#include "support/windows_win32.h"
#include <oleauto.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "com_client.h"
#include "dialog_driver.h"
#include "support/unique_any_win32.h"
#include "test_files.h"

namespace quarnel {
namespace {

const testing::Environment* const apartment =
    testing::AddGlobalTestEnvironment(new MainThreadApartment);

constexpr std::size_t kTenMegabytes = 10u * 1024 * 1024;
constexpr wchar_t kDialogTitlePrefix[] = L"Quarnel checker";

class HostileInput : public testing::Test {
 protected:
  // Real files for the good check: three logs of 10, 20 and 30 bytes.
  HostileInput() {
    logs_.MakeFile(L"a.log", 10);
    logs_.MakeFile(L"b.log", 20);
    logs_.MakeFile(L"c.log", 30);
  }

  std::wstring GoodParameterString() const {
    return L"#FILE=" + logs_.path() + L"\\*.log#WHT=SIZE#CMP=GT#VAL=100#UNIT=B#";
  }
  std::wstring GoodResult() const { return L"Size of " + logs_.path() + L"\\*.log is 60 B"; }

  // A good check on every property's good value gives its exact result.
  void ExpectGoodCheckWorks(_quarnelcom* plugin) {
    ASSERT_EQ(PutParameterString(plugin, GoodParameterString()), S_OK);
    const CheckOutcome check = RunCheck(plugin);
    EXPECT_EQ(check.call, S_OK);
    EXPECT_EQ(check.status, VARIANT_TRUE);
    EXPECT_EQ(check.result, GoodResult());
  }

  const TestDirectory logs_{L"hostile"};
};

// One hostile value; `make` writes it into a cleared VARIANT.
struct HostileValue {
  const char* name;
  std::function<void(VARIANT*)> make;
};

SAFEARRAY* TwoTexts() {
  SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, 2);
  for (LONG i = 0; i < 2; ++i) {
    unique_variant element;
    MakeText(element.put(), L"#WHT=SIZE#");
    SafeArrayPutElement(array, &i, &element.get());
  }
  return array;
}

// An object whose default value is the object itself: converting it the
// way Automation does would never end.
CountedObject& SelfYieldingObject() {
  static CountedObject object{CountedObject::YieldingItself{}};
  return object;
}

std::vector<HostileValue> HostileValues(CountedObject& plainObject, CountedObject& textObject,
                                        const std::wstring& goodParameterString) {
  const std::wstring nulInsidePath = L"#FILE=C:\\windows\\win.ini" + std::wstring(1, L'\0') +
                                     L"x#WHT=WDATE#CMP=GT#VAL=1#UNIT=D#";
  const std::wstring nulAfterEntries = goodParameterString + std::wstring(1, L'\0') + L"#WHT=CDATE#";
  return {
      {"Empty", [](VARIANT*) {}},
      {"Null", [](VARIANT* v) { V_VT(v) = VT_NULL; }},
      {"a number", [](VARIANT* v) { V_VT(v) = VT_I4, V_I4(v) = 30; }},
      {"a fraction", [](VARIANT* v) { V_VT(v) = VT_R8, V_R8(v) = -1.5e300; }},
      {"a date", [](VARIANT* v) { V_VT(v) = VT_DATE, V_DATE(v) = 46000.5; }},
      {"a Boolean", [](VARIANT* v) { V_VT(v) = VT_BOOL, V_BOOL(v) = VARIANT_TRUE; }},
      {"a missing argument", [](VARIANT* v) { V_VT(v) = VT_ERROR, V_ERROR(v) = DISP_E_PARAMNOTFOUND; }},
      {"an array", [](VARIANT* v) { V_VT(v) = VT_ARRAY | VT_VARIANT, V_ARRAY(v) = TwoTexts(); }},
      {"an object without default value", [&](VARIANT* v) { MakeObject(v, plainObject); }},
      {"an object whose default value is a parameter string",
       [&](VARIANT* v) { MakeObject(v, textObject); }},
      {"an object whose default value is itself",
       [](VARIANT* v) { MakeObject(v, SelfYieldingObject()); }},
      {"a text with a NUL inside the path", [=](VARIANT* v) { MakeText(v, nulInsidePath); }},
      {"a text with a NUL after its entries", [=](VARIANT* v) { MakeText(v, nulAfterEntries); }},
      {"10 MB after the entries",
       [=](VARIANT* v) { MakeText(v, goodParameterString + std::wstring(kTenMegabytes, L'x')); }},
      {"a path of 10 MB",
       [](VARIANT* v) { MakeText(v, L"#FILE=C:\\" + std::wstring(kTenMegabytes, L'a') + L"#WHT=SIZE#"); }},
      {"10 MB of entry marks", [](VARIANT* v) { MakeText(v, std::wstring(kTenMegabytes, L'#')); }},
      {"10 MB of empty keys", [](VARIANT* v) {
         std::wstring text;
         while (text.size() < kTenMegabytes) text += L"#=";
         MakeText(v, text);
       }},
  };
}

// What a check with the hostile value in sa_parameter gives: the exact
// result, or the beginning of the error report, or a result that begins
// with "ERR:" and holds a system error code.
struct ParameterOutcome {
  const char* name;
  bool passed;
  std::wstring exact;
  std::wstring prefix;
};

TEST_F(HostileInput, ACheckOnAHostileParameterStringWorksOrEndsInAClearError) {
  CountedObject plainObject;
  CountedObject textObject(GoodParameterString());
  const std::wstring nothingFound = L"ERR: No matching files";
  const std::wstring nullReport = L"ERR: Invalid use of Null (94) at 0 params: --";
  const std::wstring mismatchReport = L"ERR: Type mismatch (13) at 0 params: --";
  const ParameterOutcome outcomes[] = {
      {"Empty", false, nothingFound, L""},
      {"Null", false, L"", nullReport},
      {"a number", false, nothingFound, L""},
      {"a fraction", false, nothingFound, L""},
      {"a date", false, nothingFound, L""},
      {"a Boolean", false, nothingFound, L""},
      {"a missing argument", false, L"", mismatchReport},
      {"an array", false, L"", mismatchReport},
      {"an object without default value", false, L"", mismatchReport},
      {"an object whose default value is a parameter string", true, GoodResult(), L""},
      {"an object whose default value is itself", false, L"", mismatchReport},
      // The system reads a path only up to a NUL: it is no valid name (123).
      {"a text with a NUL inside the path", false, L"", L"ERR:"},
      {"a text with a NUL after its entries", true, GoodResult(), L""},
      {"10 MB after the entries", true, GoodResult(), L""},
      {"a path of 10 MB", false, nothingFound, L""},
      {"10 MB of entry marks", false, nothingFound, L""},
      {"10 MB of empty keys", false, nothingFound, L""},
  };
  const auto values = HostileValues(plainObject, textObject, GoodParameterString());
  ASSERT_EQ(values.size(), std::size(outcomes));

  const com_ptr<_quarnelcom> plugin = CreatePlugin();
  ASSERT_TRUE(plugin);
  for (std::size_t i = 0; i < values.size(); ++i) {
    const ParameterOutcome& expected = outcomes[i];
    ASSERT_STREQ(values[i].name, expected.name);
    SCOPED_TRACE(expected.name);
    unique_variant hostile;
    values[i].make(hostile.put());
    ASSERT_EQ(plugin->put_sa_parameter(hostile.get()), S_OK);

    const CheckOutcome check = RunCheck(plugin.get());
    EXPECT_EQ(check.call, S_OK);
    EXPECT_EQ(check.status, expected.passed ? VARIANT_TRUE : VARIANT_FALSE);
    ASSERT_EQ(check.resultType, VT_BSTR);
    if (!expected.exact.empty()) {
      EXPECT_EQ(check.result, expected.exact);
    }
    if (!expected.prefix.empty()) {
      EXPECT_EQ(check.result.substr(0, expected.prefix.size()), expected.prefix) << check.result.substr(0, 200);
    }
    if (std::string(expected.name) == "a text with a NUL inside the path") {
      EXPECT_NE(check.result.find(L"(123)"), std::wstring::npos) << check.result;
    }
    ExpectGoodCheckWorks(plugin.get());
  }
  EXPECT_EQ(plainObject.references, 1u) << "the plug-in kept a reference";
  EXPECT_EQ(textObject.references, 1u) << "the plug-in kept a reference";
  EXPECT_EQ(SelfYieldingObject().references, 1u) << "the plug-in kept a reference";
}

// The check reads sa_parameter only; hostile values elsewhere change nothing.
TEST_F(HostileInput, HostileValuesInTheOtherPropertiesLeaveTheCheckAlone) {
  CountedObject plainObject;
  CountedObject textObject(L"#WHT=CDATE#");
  const auto values = HostileValues(plainObject, textObject, GoodParameterString());
  const struct {
    const char* name;
    HRESULT (STDMETHODCALLTYPE _quarnelcom::*put)(VARIANT);
  } properties[] = {{"sa_timeout", &_quarnelcom::put_sa_timeout},
                    {"sa_hostname", &_quarnelcom::put_sa_hostname},
                    {"sa_result", &_quarnelcom::put_sa_result},
                    {"sa_timeout by putref", &_quarnelcom::putref_sa_timeout}};
  {
    const com_ptr<_quarnelcom> plugin = CreatePlugin();
    ASSERT_TRUE(plugin);
    for (const auto& property : properties) {
      for (const HostileValue& value : values) {
        SCOPED_TRACE(std::string(property.name) + " holds " + value.name);
        unique_variant hostile;
        value.make(hostile.put());
        ASSERT_EQ((plugin.get()->*property.put)(hostile.get()), S_OK);
        ExpectGoodCheckWorks(plugin.get());
      }
    }
  }
  EXPECT_EQ(plainObject.references, 1u) << "a released plug-in kept a reference";
  EXPECT_EQ(textObject.references, 1u) << "a released plug-in kept a reference";
}

// Watches, while sa_showGUI runs, for the plug-in's dialog: counts whether
// it appeared and closes it with WM_CLOSE, as its close box would. When the
// call does not come back within the limit the process ends, so that a hang
// fails the test instead of stalling it.
class DialogCloser {
 public:
  DialogCloser() : watcher_([this] { Watch(); }) {}
  ~DialogCloser() {
    done_ = true;
    watcher_.join();
  }
  bool appeared() const { return appeared_; }

 private:
  static BOOL CALLBACK CloseIfDialog(HWND window, LPARAM closer) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t title[64] = L"";
    GetWindowTextW(window, title, 64);
    if (process == GetCurrentProcessId() &&
        std::wstring(title).rfind(kDialogTitlePrefix, 0) == 0 && IsWindowVisible(window)) {
      reinterpret_cast<DialogCloser*>(closer)->appeared_ = true;
      PostMessageW(window, WM_CLOSE, 0, 0);
    }
    return TRUE;
  }
  void Watch() {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!done_) {
      EnumWindows(CloseIfDialog, reinterpret_cast<LPARAM>(this));
      if (std::chrono::steady_clock::now() > limit) {
        fputs("sa_showGUI did not return within 60 s\n", stderr);
        ExitProcess(3);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }

  std::atomic<bool> done_{false};
  std::atomic<bool> appeared_{false};
  std::thread watcher_;
};

struct ShowGuiRefusal {
  const char* situation;
  HRESULT (STDMETHODCALLTYPE _quarnelcom::*put)(VARIANT);
  const char* value;  // the name of a hostile value
  int number;
  const wchar_t* description;
};

TEST_F(HostileInput, ShowGuiRefusesWhatItCannotShowBeforeAnyWindowOpens) {
  CountedObject plainObject;
  CountedObject textObject(L"");
  const auto values = HostileValues(plainObject, textObject, GoodParameterString());
  const ShowGuiRefusal refusals[] = {
      {"Null parameter string", &_quarnelcom::put_sa_parameter, "Null", 94, L"Invalid use of Null"},
      {"array as parameter string", &_quarnelcom::put_sa_parameter, "an array", 13, L"Type mismatch"},
      {"object as parameter string", &_quarnelcom::putref_sa_parameter,
       "an object without default value", 13, L"Type mismatch"},
      {"Null time-out", &_quarnelcom::put_sa_timeout, "Null", 94, L"Invalid use of Null"},
      {"array as time-out", &_quarnelcom::put_sa_timeout, "an array", 13, L"Type mismatch"},
      {"missing argument as host name", &_quarnelcom::put_sa_hostname, "a missing argument", 13,
       L"Type mismatch"},
      {"object as host name", &_quarnelcom::putref_sa_hostname, "an object without default value",
       13, L"Type mismatch"},
      {"object yielding itself as parameter string", &_quarnelcom::putref_sa_parameter,
       "an object whose default value is itself", 13, L"Type mismatch"},
      {"object yielding itself as time-out", &_quarnelcom::putref_sa_timeout,
       "an object whose default value is itself", 13, L"Type mismatch"},
  };
  for (const ShowGuiRefusal& refusal : refusals) {
    SCOPED_TRACE(refusal.situation);
    const com_ptr<_quarnelcom> plugin = CreatePlugin();
    ASSERT_TRUE(plugin);
    unique_variant hostile;
    for (const HostileValue& value : values) {
      if (std::string(value.name) == refusal.value) value.make(hostile.put());
    }
    ASSERT_EQ((plugin.get()->*refusal.put)(hostile.get()), S_OK);

    HRESULT shown;
    bool appeared;
    {
      const DialogCloser closer;
      shown = plugin->sa_showGUI();
      appeared = closer.appeared();
    }
    EXPECT_FALSE(appeared) << "the dialog opened";
    EXPECT_EQ(shown, MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, refusal.number));
    com_ptr<IErrorInfo> error;
    ASSERT_EQ(GetErrorInfo(0, error.put()), S_OK);
    unique_bstr description;
    error->GetDescription(description.put());
    EXPECT_STREQ(description.get(), refusal.description);
    ExpectGoodCheckWorks(plugin.get());
  }
  EXPECT_EQ(plainObject.references, 1u);
}

// Values that the dialog can show: it opens, is closed with its close box,
// and sa_parameter keeps the hostile value.
TEST_F(HostileInput, ShowGuiShowsOtherHostileParameterStringsAndKeepsThemWhenClosed) {
  if (!HasDisplay()) GTEST_SKIP() << "DISPLAY is not set: the dialog needs an X display (xvfb-run)";
  CountedObject plainObject;
  CountedObject textObject(GoodParameterString());
  const char* const shown[] = {"Empty", "a number", "a date", "a Boolean",
                               "an object whose default value is a parameter string",
                               "a text with a NUL inside the path", "10 MB after the entries",
                               "10 MB of entry marks"};
  const auto values = HostileValues(plainObject, textObject, GoodParameterString());
  const com_ptr<_quarnelcom> plugin = CreatePlugin();
  ASSERT_TRUE(plugin);
  for (const char* name : shown) {
    SCOPED_TRACE(name);
    unique_variant hostile;
    for (const HostileValue& value : values) {
      if (std::string(value.name) == name) value.make(hostile.put());
    }
    ASSERT_EQ(plugin->putref_sa_parameter(hostile.get()), S_OK);

    HRESULT result;
    bool appeared;
    {
      const DialogCloser closer;
      result = plugin->sa_showGUI();
      appeared = closer.appeared();
    }
    EXPECT_EQ(result, S_OK);
    EXPECT_TRUE(appeared) << "the dialog did not open";
    unique_variant after;
    ASSERT_EQ(plugin->get_sa_parameter(after.put()), S_OK);
    if (V_VT(&hostile.get()) == VT_DISPATCH) {
      ASSERT_EQ(V_VT(&after.get()), VT_DISPATCH);
      EXPECT_EQ(V_DISPATCH(&after.get()), V_DISPATCH(&hostile.get()))
          << "closing the dialog changed sa_parameter";
    } else {
      EXPECT_EQ(VarCmp(&after.get(), &hostile.get(), LOCALE_USER_DEFAULT, 0),
                static_cast<HRESULT>(VARCMP_EQ))
          << "closing the dialog changed sa_parameter";
    }
  }
}

// --- IDispatch --------------------------------------------------------------

struct DispatchCall {
  const char* situation;
  DISPID id;
  WORD kind;
  UINT arguments;
  UINT namedArguments;  // named DISPID_PROPERTYPUT, or an unknown name
  HRESULT expected;
};

constexpr DISPID kDocheck = 0x60030004;
constexpr DISPID kShowGui = 0x60030005;
constexpr DISPID kParameter = 0x68030002;
constexpr DISPID kNoSuchMember = 0x12345;

TEST(HostileDispatch, WrongNamesCountsAndKindsGetTheStandardDispatchErrors) {
  const com_ptr<_quarnelcom> plugin = CreatePlugin();
  ASSERT_TRUE(plugin);
  IDispatch* dispatch = plugin.get();

  const struct {
    std::vector<const wchar_t*> names;
    HRESULT expected;
  } lookups[] = {
      {{L"sa_nothing"}, DISP_E_UNKNOWNNAME},
      {{L""}, DISP_E_UNKNOWNNAME},
      {{L"sa_docheck "}, DISP_E_UNKNOWNNAME},
      {{L"sa_docheck", L"noSuchArgument"}, DISP_E_UNKNOWNNAME},
  };
  for (const auto& lookup : lookups) {
    std::vector<LPOLESTR> names;
    for (const wchar_t* name : lookup.names) names.push_back(const_cast<LPOLESTR>(name));
    std::vector<DISPID> ids(names.size(), 0);
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, names.data(), static_cast<UINT>(names.size()),
                                      LOCALE_USER_DEFAULT, ids.data()),
              lookup.expected)
        << "names start with '" << std::string(names[0], names[0] + wcslen(names[0])) << "'";
  }
  LPOLESTR docheck = const_cast<LPOLESTR>(L"sa_docheck");
  DISPID id = 0;
  EXPECT_EQ(dispatch->GetIDsOfNames(IID_IDispatch, &docheck, 1, LOCALE_USER_DEFAULT, &id),
            DISP_E_UNKNOWNINTERFACE);
  com_ptr<ITypeInfo> info;
  EXPECT_EQ(dispatch->GetTypeInfo(1, LOCALE_USER_DEFAULT, info.put()), DISP_E_BADINDEX);

  const DispatchCall calls[] = {
      {"unknown member", kNoSuchMember, DISPATCH_METHOD, 0, 0, DISP_E_MEMBERNOTFOUND},
      {"sa_docheck with an argument", kDocheck, DISPATCH_METHOD, 1, 0, DISP_E_BADPARAMCOUNT},
      {"sa_showGUI with two arguments", kShowGui, DISPATCH_METHOD, 2, 0, DISP_E_BADPARAMCOUNT},
      {"sa_docheck assigned to", kDocheck, DISPATCH_PROPERTYPUT, 1, 1, DISP_E_MEMBERNOTFOUND},
      // A property read with an index would index into the value it holds.
      {"sa_parameter read with an index", kParameter, DISPATCH_PROPERTYGET, 1, 0,
       DISP_E_NOTACOLLECTION},
      {"sa_parameter assigned two values", kParameter, DISPATCH_PROPERTYPUT, 2, 1,
       DISP_E_BADPARAMCOUNT},
      {"sa_parameter assigned nothing", kParameter, DISPATCH_PROPERTYPUT, 0, 0,
       DISP_E_BADPARAMCOUNT},
      {"sa_docheck with a named argument", kDocheck, DISPATCH_METHOD, 1, 1, DISP_E_BADPARAMCOUNT},
      {"sa_showGUI called for its value with an argument", kShowGui,
       DISPATCH_METHOD | DISPATCH_PROPERTYGET, 1, 0, DISP_E_BADPARAMCOUNT},
  };
  for (const DispatchCall& call : calls) {
    SCOPED_TRACE(call.situation);
    const DialogCloser closer;
    VARIANT arguments[2];
    for (VARIANT& argument : arguments) V_VT(&argument) = VT_I4, V_I4(&argument) = 1;
    DISPID names[2] = {call.kind == DISPATCH_PROPERTYPUT ? DISPID_PROPERTYPUT : 7, 7};
    DISPPARAMS parameters{call.arguments ? arguments : nullptr,
                          call.namedArguments ? names : nullptr, call.arguments,
                          call.namedArguments};
    unique_variant result;
    UINT badArgument = 0;
    EXPECT_EQ(dispatch->Invoke(call.id, IID_NULL, LOCALE_USER_DEFAULT, call.kind, &parameters,
                               call.kind == DISPATCH_PROPERTYPUT ? nullptr : result.put(), nullptr,
                               &badArgument),
              call.expected);
    EXPECT_FALSE(closer.appeared()) << "the dialog opened";
  }
  EXPECT_EQ(dispatch->Invoke(kDocheck, IID_IDispatch, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                             nullptr, nullptr, nullptr, nullptr),
            DISP_E_UNKNOWNINTERFACE);

  // Argument blocks whose counts promise more than their arrays hold are
  // refused before any member runs: the dialog does not open and the
  // property keeps its value.
  ASSERT_EQ(PutParameterString(plugin.get(), L"#WHT=SIZE#"), S_OK);
  VARIANT value;
  V_VT(&value) = VT_I4, V_I4(&value) = 1;
  DISPID putName = DISPID_PROPERTYPUT;
  const struct {
    const char* situation;
    DISPID id;
    WORD kind;
    DISPPARAMS block;
  } inconsistent[] = {
      {"named arguments without their identifiers", kParameter, DISPATCH_PROPERTYPUT,
       {&value, nullptr, 1, 1}},
      {"arguments without their array", kParameter, DISPATCH_PROPERTYPUT, {nullptr, &putName, 1, 1}},
      {"more named arguments than arguments", kParameter, DISPATCH_PROPERTYPUT,
       {&value, &putName, 0, 1}},
      {"sa_showGUI with a named argument and no identifier", kShowGui, DISPATCH_METHOD,
       {nullptr, nullptr, 0, 1}},
      {"sa_showGUI with an argument and no array", kShowGui, DISPATCH_METHOD, {nullptr, nullptr, 1, 0}},
  };
  for (const auto& call : inconsistent) {
    SCOPED_TRACE(call.situation);
    const DialogCloser closer;
    DISPPARAMS block = call.block;
    EXPECT_EQ(dispatch->Invoke(call.id, IID_NULL, LOCALE_USER_DEFAULT, call.kind, &block, nullptr,
                               nullptr, nullptr),
              E_INVALIDARG);
    EXPECT_FALSE(closer.appeared()) << "the dialog opened";
    unique_variant parameter;
    ASSERT_EQ(plugin->get_sa_parameter(parameter.put()), S_OK);
    EXPECT_EQ(TextOf(parameter.get()), L"#WHT=SIZE#");
  }
  EXPECT_EQ(dispatch->Invoke(kShowGui, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, nullptr,
                             nullptr, nullptr, nullptr),
            E_INVALIDARG);

  // After all of that the object still checks.
  unique_variant status;
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  EXPECT_EQ(dispatch->Invoke(kDocheck, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none,
                             status.put(), nullptr, nullptr),
            S_OK);
  EXPECT_EQ(V_VT(&status.get()), VT_BOOL);
}

}  // namespace
}  // namespace quarnel
