// The configuration dialog as the host meets it: the registered plug-in
// object's sa_showGUI on this thread, and a driver thread that finds the
// window by its title and works its controls as a user would. Needs an X
// display (the test command provides one through xvfb-run); without one
// the tests are skipped.

#include "support/windows_win32.h"
#include <commctrl.h>
#include <objbase.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "com_client.h"
#include "dialog_driver.h"
#include "host/late_binding.h"
#include "program_run.h"
#include "support/module_win32.h"
#include "support/text.h"
#include "support/unique_any_win32.h"

namespace quarnel {
namespace {

const std::wstring kTitle = L"Quarnel checker: External COM check (version 2.0 build 61)";

const testing::Environment* const apartment =
    testing::AddGlobalTestEnvironment(new MainThreadApartment);

// The plug-in object, bound late through IDispatch as the host binds.
// The plug-in driven as the host drives it (host/late_binding), each call
// answering with the member's own HRESULT, also when that reaches the
// caller as an Automation exception.
class Plugin {
 public:
  Plugin() {
    created_ = ResultOf([&] { object_ = std::make_unique<LateBoundObject>(kPluginProgId); });
  }
  HRESULT created() const { return created_; }

  HRESULT Put(const wchar_t* property, VARIANT value) {
    return ResultOf([&] { object_->Put(property, value); });
  }
  HRESULT PutText(const wchar_t* property, const std::wstring& text) {
    unique_variant value;
    MakeText(value.put(), text);
    return Put(property, value.get());
  }
  std::wstring GetText(const wchar_t* property) {
    unique_variant value;
    EXPECT_EQ(ResultOf([&] { value = object_->Get(property); }), S_OK);
    if (V_VT(&value.get()) != VT_BSTR) {
      ADD_FAILURE() << "property holds VARIANT type " << V_VT(&value.get());
      return std::wstring();
    }
    return TextOf(value.get());
  }
  HRESULT ShowGUI() {
    return ResultOf([&] {
      object_->Call(L"sa_showGUI");
    });
  }

 private:
  template <typename Call>
  static HRESULT ResultOf(Call call) {
    try {
      call();
      return S_OK;
    } catch (const NotRegistered& failure) {
      return failure.result;
    } catch (const CallFailure& failure) {
      return failure.result;
    }
  }

  HRESULT created_;
  std::unique_ptr<LateBoundObject> object_;
};

// Runs sa_showGUI on this thread while `drive` works the dialog on another.
// The driver's findings go into variables of the test, checked after both
// threads are done. A dialog that the driver missed, or that its actions
// left open, would keep sa_showGUI waiting for ever: the driver then fails
// the test and closes the window.
HRESULT ShowAndDrive(Plugin& plugin, const std::function<void(const DialogDriver&)>& drive,
                     bool* found = nullptr) {
  bool seen = false;
  std::atomic<bool> returned{false};
  const auto closeWhenLeftOpen = [&] {
    if (WaitFor([&] { return returned.load(); })) return;
    ADD_FAILURE() << "the dialog was still open when its driver gave up; closing it";
    while (!returned) {
      if (HWND left = FindWindowW(nullptr, kTitle.c_str())) PostMessageW(left, WM_CLOSE, 0, 0);
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  };
  std::thread driver([&] {
    HWND dialog = nullptr;
    seen = WaitFor([&] {
      dialog = FindWindowW(nullptr, kTitle.c_str());
      return dialog && IsWindowVisible(dialog);
    });
    if (seen) {
      // Returns once the dialog's thread is in its message loop.
      SendMessageW(dialog, WM_NULL, 0, 0);
      drive(DialogDriver(dialog));
    }
    closeWhenLeftOpen();
  });
  const HRESULT hr = plugin.ShowGUI();
  returned = true;
  driver.join();
  if (found) *found = seen;
  return hr;
}

// Saves a picture of the whole X screen next to the test programs' directory
// (build/win32/dialog.png for the main build) with ImageMagick's import,
// which Wine starts as the Unix program it is. Only tests/win32/dialog-screenshot
// asks for it (QUARNEL_SCREENSHOT=1); the test run takes no picture.
void SaveScreenshot(HWND dialog) {
  if (GetEnvironmentVariableW(L"QUARNEL_SCREENSHOT", nullptr, 0) == 0) return;
  using UnixFileName = char*(CDECL*)(LPCWSTR);
  const auto unixFileName = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixFileName) return;  // not under Wine
  std::wstring buildDirectory = ModuleFilePath(nullptr);
  for (int level = 0; level < 2; ++level) buildDirectory.erase(buildDirectory.rfind(L'\\'));
  const std::wstring picture = buildDirectory + L"\\dialog.png";
  DeleteFileW(picture.c_str());
  const std::unique_ptr<char, void (*)(char*)> unixDirectory(
      unixFileName(buildDirectory.c_str()),
      [](char* name) { HeapFree(GetProcessHeap(), 0, name); });
  if (!unixDirectory) return;

  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  SendMessageW(dialog, WM_NULL, 0, 0);
  const std::string directory(unixDirectory.get());
  // Written under another name and renamed, so that the file appears whole.
  const std::string script = "import -window root png:'" + directory + "/dialog.png.part' && mv '" +
                             directory + "/dialog.png.part' '" + directory + "/dialog.png'";
  std::wstring command = L"Z:\\bin\\sh -c \"" + std::wstring(script.begin(), script.end()) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    ADD_FAILURE() << "import could not be started: " << GetLastError();
    return;
  }
  const unique_handle processHandle(process.hProcess), threadHandle(process.hThread);
  // A Unix process cannot be waited for through its handle; its file can.
  EXPECT_TRUE(WaitFor([&] { return GetFileAttributesW(picture.c_str()) != INVALID_FILE_ATTRIBUTES; }))
      << "no screenshot from import";
}

class DialogTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!HasDisplay()) GTEST_SKIP() << "DISPLAY is not set: the dialog needs an X display (xvfb-run)";
    ASSERT_EQ(plugin.created(), S_OK) << kPluginProgId << " is not registered";
    ASSERT_EQ(plugin.PutText(L"sa_hostname", L"srv1"), S_OK);
  }

  Plugin plugin;
};

TEST_F(DialogTest, OpensOnTopWithFocusOnOKAndWritesTheHostsDefaultCheck) {
  unique_variant timeout;
  V_VT(timeout.put()) = VT_I4;
  V_I4(&timeout.get()) = 30;
  ASSERT_EQ(plugin.Put(L"sa_timeout", timeout.get()), S_OK);
  ASSERT_EQ(plugin.PutText(L"sa_parameter", L""), S_OK);

  bool topMost = false, hasIcon = false, focusOnOK = false, oldestYoungestEnabled = true;
  std::wstring path, timeoutText, tooltip;
  std::vector<HWND> focusOrder, expectedOrder;
  bool found = false;
  const HRESULT hr = ShowAndDrive(plugin, [&](const DialogDriver& d) {
    topMost = GetWindowLongW(d.dialog(), GWL_EXSTYLE) & WS_EX_TOPMOST;
    hasIcon = GetClassLongPtrW(d.dialog(), GCLP_HICON) != 0;
    focusOnOK = d.Focus() == d.Control(kIdBtOK);
    path = d.Text(kIdTxtFile);
    timeoutText = d.Text(kIdTxtTimeout);
    oldestYoungestEnabled = d.Enabled(kIdCmbOYFile);
    for (int id : {kIdBtOK, kIdTxtTimeout, kIdTxtFile, kIdCmbCompare, kIdTxtSize, kIdCmbUnit,
                   kIdChkAuthentication, kIdTxtUsername, kIdTxtPassword, kIdCmbWhat, kIdChkDebug,
                   kIdChkunknownfile}) {
      expectedOrder.push_back(d.Control(id));
    }
    for (HWND control = d.Control(kIdBtOK); focusOrder.size() < expectedOrder.size();) {
      focusOrder.push_back(control);
      control = GetNextDlgTabItem(d.dialog(), control, FALSE);
    }
    // The tooltip that has a tool for the path box.
    TOOLINFOW tool{};
    wchar_t text[512] = L"";
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = d.dialog();
    tool.uId = reinterpret_cast<UINT_PTR>(d.Control(kIdTxtFile));
    tool.lpszText = text;
    for (HWND tip = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); tip;
         tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) {
      SendMessageW(tip, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
      if (text[0]) tooltip = text;
    }
    SaveScreenshot(d.dialog());
    d.PressOK();
  }, &found);
  ASSERT_TRUE(found) << "no visible window titled " << testing::PrintToString(kTitle);
  EXPECT_EQ(hr, S_OK);
  EXPECT_TRUE(topMost);
  EXPECT_TRUE(hasIcon);
  EXPECT_TRUE(focusOnOK);
  EXPECT_EQ(focusOrder, expectedOrder);
  EXPECT_EQ(path, L"\\\\srv1\\");
  EXPECT_EQ(timeoutText, L"30");
  EXPECT_FALSE(oldestYoungestEnabled);
  EXPECT_EQ(tooltip,
            L"Enter the name of the file to be checked (don't forget to path to the file "
            L"\\\\server\\share\\directory\\file.ext)");
  EXPECT_EQ(plugin.GetText(L"sa_parameter"),
            L"#FILE=\\\\srv1\\#WHT=SIZE#CMP=GT#VAL=0#UNIT=B#AUTH=F#USR=#PWD=#DBG=F#FNF=F#");
}

TEST_F(DialogTest, YoungestCreationCheckOnAPattern) {
  ASSERT_EQ(plugin.PutText(L"sa_parameter", L""), S_OK);
  bool enabledBeforeKind = true, enabledAfterKind = false;
  std::wstring comparison, unit;
  const HRESULT hr = ShowAndDrive(plugin, [&](const DialogDriver& d) {
    d.SetText(kIdTxtFile, L"\\\\srv\\share\\*.log");
    enabledBeforeKind = d.Enabled(kIdCmbOYFile);
    d.Pick(kIdCmbWhat, 1);
    enabledAfterKind = d.Enabled(kIdCmbOYFile);
    comparison = d.Text(kIdCmbCompare);
    d.Pick(kIdCmbOYFile, 1);
    d.Type(kIdTxtSize, L"5");
    d.Pick(kIdCmbUnit, 2);
    unit = d.Text(kIdCmbUnit);
    d.Click(kIdChkunknownfile);
    d.PressOK();
  });
  EXPECT_EQ(hr, S_OK);
  EXPECT_FALSE(enabledBeforeKind);
  EXPECT_TRUE(enabledAfterKind);
  EXPECT_EQ(comparison, L"is more");
  EXPECT_EQ(unit, L"days ago");
  EXPECT_EQ(plugin.GetText(L"sa_parameter"),
            L"#FILE=\\\\srv\\share\\*.log#WHT=YOUCREA#CMP=GT#VAL=5#UNIT=D#AUTH=F#USR=#PWD=#DBG=F#"
            L"FNF=T#");
}

// A stored count over subfolders is shown with no unit and the box checked,
// and written back as it came; picking the creation date of one file then
// disables the box.
TEST_F(DialogTest, StoredCountOverSubfoldersIsShownAndWrittenBackUnchanged) {
  const std::wstring stored =
      L"#FILE=C:\\spool\\*.tmp#WHT=COUNT#CMP=GT#VAL=12#UNIT=#AUTH=F#USR=#PWD=#DBG=F#FNF=F#SUB=T#";
  ASSERT_EQ(plugin.PutText(L"sa_parameter", stored), S_OK);
  std::wstring kind, comparison, unit;
  bool unitEnabled = true, boxEnabled = false, boxChecked = false, boxEnabledForADate = true;
  const HRESULT hr = ShowAndDrive(plugin, [&](const DialogDriver& d) {
    kind = d.Text(kIdCmbWhat);
    comparison = d.Text(kIdCmbCompare);
    unit = d.Text(kIdCmbUnit);
    unitEnabled = d.Enabled(kIdCmbUnit);
    boxEnabled = d.Enabled(kIdChkSubfolders);
    boxChecked = d.Checked(kIdChkSubfolders);
    d.SetText(kIdTxtFile, L"C:\\spool\\a.tmp");
    d.Pick(kIdCmbWhat, 1);
    boxEnabledForADate = d.Enabled(kIdChkSubfolders);
    d.Pick(kIdCmbWhat, 3);
    d.SetText(kIdTxtFile, L"C:\\spool\\*.tmp");
    d.PressOK();
  });
  EXPECT_EQ(hr, S_OK);
  EXPECT_EQ(kind, L"number of files");
  EXPECT_EQ(comparison, L"is bigger");
  EXPECT_EQ(unit, L"");
  EXPECT_FALSE(unitEnabled);
  EXPECT_TRUE(boxEnabled);
  EXPECT_TRUE(boxChecked);
  EXPECT_FALSE(boxEnabledForADate);
  EXPECT_EQ(plugin.GetText(L"sa_parameter"), stored);
}

TEST_F(DialogTest, StoredCheckWithCredentialsIsShownAndWrittenBackUnchanged) {
  const std::wstring stored =
      L"#FILE=\\\\srv\\logs\\app.log#WHT=WDATE#CMP=LT#VAL=1.5#UNIT=H#AUTH=T#USR=dom\\user#"
      L"PWD=c2VjcmV0#DBG=T#FNF=F#";
  ASSERT_EQ(plugin.PutText(L"sa_parameter", stored), S_OK);
  std::wstring kind, comparison, unit, value, user, password;
  wchar_t passwordChar = 0;
  bool authenticate = false, debug = false, notFound = true;
  const HRESULT hr = ShowAndDrive(plugin, [&](const DialogDriver& d) {
    kind = d.Text(kIdCmbWhat);
    comparison = d.Text(kIdCmbCompare);
    unit = d.Text(kIdCmbUnit);
    value = d.Text(kIdTxtSize);
    user = d.Text(kIdTxtUsername);
    password = d.Text(kIdTxtPassword);
    passwordChar = static_cast<wchar_t>(SendMessageW(d.Control(kIdTxtPassword), EM_GETPASSWORDCHAR, 0, 0));
    authenticate = d.Checked(kIdChkAuthentication);
    debug = d.Checked(kIdChkDebug);
    notFound = d.Checked(kIdChkunknownfile);
    d.PressOK();
  });
  EXPECT_EQ(hr, S_OK);
  EXPECT_EQ(kind, L"last write date");
  EXPECT_EQ(comparison, L"is less");
  EXPECT_EQ(unit, L"hours ago");
  EXPECT_EQ(value, L"1.5");  // the prefix's regional settings write a decimal point
  EXPECT_EQ(user, L"dom\\user");
  EXPECT_EQ(password, L"secret");
  EXPECT_EQ(passwordChar, L'*');
  EXPECT_TRUE(authenticate);
  EXPECT_TRUE(debug);
  EXPECT_FALSE(notFound);
  EXPECT_EQ(plugin.GetText(L"sa_parameter"), stored);
}

TEST_F(DialogTest, CloseBoxLeavesTheParameterStringAsItWas) {
  const std::wstring stored = L"#FILE=C:\\a.log#WHT=SIZE#CMP=LT#VAL=9#UNIT=KB#";
  ASSERT_EQ(plugin.PutText(L"sa_parameter", stored), S_OK);
  const HRESULT hr = ShowAndDrive(plugin, [](const DialogDriver& d) {
    d.SetText(kIdTxtFile, L"C:\\b.log");
    d.CloseBox();
  });
  EXPECT_EQ(hr, S_OK);
  EXPECT_EQ(plugin.GetText(L"sa_parameter"), stored);
}

TEST_F(DialogTest, ValueThatIsNoNumberIsRefusedAndTheDialogStaysOpen) {
  ASSERT_EQ(plugin.PutText(L"sa_parameter", L""), S_OK);
  bool refused = false, stillOpen = false;
  const HRESULT hr = ShowAndDrive(plugin, [&](const DialogDriver& d) {
    d.SetText(kIdTxtSize, L"abc");
    d.PressOK();
    HWND messageBox = nullptr;
    refused = WaitFor([&] {
      messageBox = FindWindowW(L"#32770", kTitle.c_str());
      return messageBox && IsWindowVisible(messageBox);
    });
    if (!refused) return;
    SendMessageW(messageBox, WM_COMMAND, IDOK, 0);
    stillOpen = IsWindowVisible(d.dialog());
    d.SetText(kIdTxtSize, L"2");
    d.PressOK();
  });
  EXPECT_EQ(hr, S_OK);
  EXPECT_TRUE(refused);
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(plugin.GetText(L"sa_parameter"),
            L"#FILE=\\\\srv1\\#WHT=SIZE#CMP=GT#VAL=2#UNIT=B#AUTH=F#USR=#PWD=#DBG=F#FNF=F#");
}

TEST_F(DialogTest, FailedFillKeepsTheDialogLoadedForTheNextShowing) {
  const std::wstring unshowable = L"#FILE=C:\\logs\\*.log#WHT=OLDWRITE#CMP=EQ#VAL=1#UNIT=D#";
  ASSERT_EQ(plugin.PutText(L"sa_parameter", unshowable), S_OK);
  EXPECT_EQ(plugin.ShowGUI(), MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 380));
  EXPECT_EQ(plugin.GetText(L"sa_parameter"), unshowable);

  // Shown again without a new load step: kind, unit and path of the failed
  // fill are still there, and only the path follows the empty string.
  ASSERT_EQ(plugin.PutText(L"sa_parameter", L""), S_OK);
  std::wstring kind, unit;
  const HRESULT hr = ShowAndDrive(plugin, [&](const DialogDriver& d) {
    kind = d.Text(kIdCmbWhat);
    unit = d.Text(kIdCmbUnit);
    d.PressOK();
  });
  EXPECT_EQ(hr, S_OK);
  EXPECT_EQ(kind, L"last write date");
  EXPECT_EQ(unit, L"days ago");
  EXPECT_EQ(plugin.GetText(L"sa_parameter"),
            L"#FILE=\\\\srv1\\#WHT=WDATE#CMP=GT#VAL=0#UNIT=D#AUTH=F#USR=#PWD=#DBG=F#FNF=F#");
}

// Another program presses OK or closes the dialog in each way that UI
// automation has: sent or posted, by message or by key. Each one ends the
// modal display; OK hands back the new string, closing keeps the old one.
TEST_F(DialogTest, EveryWayAnotherProgramPressesOKOrClosesTheDialogEndsIt) {
  const std::wstring stored =
      L"#FILE=\\\\srv1\\x.log#WHT=SIZE#CMP=GT#VAL=9#UNIT=B#AUTH=F#USR=#PWD=#DBG=F#FNF=F#";
  const auto withValue = [&](const wchar_t* value) {
    return ReplaceAll(stored, L"#VAL=9#", std::wstring(L"#VAL=") + value + L"#");
  };
  const struct {
    const wchar_t* action;
    std::wstring parameterString;
  } cases[] = {
      {L"sent-ok", withValue(L"12")},       {L"posted-enter", withValue(L"3")},
      {L"typed-enter", withValue(L"4")},    {L"keys-elsewhere", withValue(L"5")},
      {L"sent-close", stored},              {L"posted-close", stored},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.action)));
    ASSERT_EQ(plugin.PutText(L"sa_parameter", stored), S_OK);
    ProgramRun driver;
    std::thread driving([&] { driver = RunProgram({ProgramDirectory() + L"dialog_driver.exe", c.action}); });
    const HRESULT hr = plugin.ShowGUI();
    driving.join();
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(driver.exitCode, 0u) << testing::PrintToString(driver.lines);
    EXPECT_EQ(plugin.GetText(L"sa_parameter"), c.parameterString);
  }
}

// OK refuses what would be stored wrong, says why and puts the focus into
// the box to correct; the dialog stays open and takes the correction.
TEST_F(DialogTest, ValueWithAWrongGroupingAndPasswordBeyondTheCodePageAreRefused) {
  const std::wstring written = L"#FILE=\\\\srv1\\#WHT=SIZE#CMP=GT#VAL=%V#UNIT=B#AUTH=F#USR=#PWD=%P#DBG=F#FNF=F#";
  const auto expected = [&](const wchar_t* value, const wchar_t* password) {
    return ReplaceAll(ReplaceAll(written, L"%V", value), L"%P", password);
  };
  const struct {
    const char* situation;
    int box;
    std::wstring typed;       // refused
    std::wstring correction;  // accepted
    std::wstring parameterString;
  } cases[] = {
      // The prefix's regional settings are US English: "," groups thousands.
      {"a decimal comma", kIdTxtSize, L"1,5", L"1,500", expected(L"1500", L"")},
      {"a grouping of ones", kIdTxtSize, L"1,2,3", L"1.5", expected(L"1.5", L"")},
      {"Greek and Chinese letters in the password", kIdTxtPassword, L"\u03a9x\u4e2d",
       L"\u00e9x", expected(L"0", L"6Xg=")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.situation);
    ASSERT_EQ(plugin.PutText(L"sa_parameter", L""), S_OK);
    bool refused = false, focusInBox = false, stillOpen = false;
    const HRESULT hr = ShowAndDrive(plugin, [&](const DialogDriver& d) {
      d.SetText(c.box, c.typed);
      d.PressOK();
      HWND messageBox = nullptr;
      refused = WaitFor([&] {
        messageBox = FindWindowW(L"#32770", kTitle.c_str());
        return messageBox && IsWindowVisible(messageBox);
      });
      if (refused) {
        SendMessageW(messageBox, WM_COMMAND, IDOK, 0);
        focusInBox = WaitFor([&] { return d.Focus() == d.Control(c.box); });
        stillOpen = IsWindowVisible(d.dialog());
      }
      d.SetText(c.box, c.correction);
      d.PressOK();
    });
    EXPECT_EQ(hr, S_OK);
    EXPECT_TRUE(refused);
    EXPECT_TRUE(focusInBox);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(plugin.GetText(L"sa_parameter"), c.parameterString);
  }
}

// A timer of the host that fires while the dialog is shown calls
// sa_showGUI again on the same object, inside the dialog's modal loop.
struct NestedShowing {
  Plugin* plugin = nullptr;
  std::atomic<bool> armed{false};
  std::atomic<bool> done{false};
  HRESULT result = S_OK;
};
NestedShowing nestedShowing;

void CALLBACK ShowAgainFromTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (!nestedShowing.armed || nestedShowing.done) return;
  nestedShowing.result = nestedShowing.plugin->ShowGUI();
  nestedShowing.done = true;
}

TEST_F(DialogTest, ShowGuiCalledWhileTheDialogIsShownIsRefusedAndLeavesItOpen) {
  ASSERT_EQ(plugin.PutText(L"sa_parameter", L""), S_OK);
  nestedShowing.plugin = &plugin;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, &ShowAgainFromTimer);
  ASSERT_NE(timer, 0u);
  bool nestedReturned = false, stillOpen = false;
  std::wstring value;
  const HRESULT hr = ShowAndDrive(plugin, [&](const DialogDriver& d) {
    d.SetText(kIdTxtSize, L"4");
    nestedShowing.armed = true;
    nestedReturned = WaitFor([] { return nestedShowing.done.load(); });
    stillOpen = IsWindowVisible(d.dialog());
    value = d.Text(kIdTxtSize);
    d.PressOK();
  });
  KillTimer(nullptr, timer);
  EXPECT_TRUE(nestedReturned);
  EXPECT_EQ(nestedShowing.result, MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 400));
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(value, L"4");
  EXPECT_EQ(hr, S_OK);
  EXPECT_EQ(plugin.GetText(L"sa_parameter"),
            L"#FILE=\\\\srv1\\#WHT=SIZE#CMP=GT#VAL=4#UNIT=B#AUTH=F#USR=#PWD=#DBG=F#FNF=F#");
}

}  // namespace
}  // namespace quarnel
