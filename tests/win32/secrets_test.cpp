// The share password in clear must leave the plug-in only towards the
// networking call: checks with authentication run through quarnel-host
// check --trace, so that the real trace lines of the debugger output count,
// and neither the result, the error report, the trace lines nor anything
// the host writes to its standard output or error output may hold it.

#include "support/windows_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "program_run.h"
#include "support/unique_any_win32.h"
#include "test_files.h"

namespace quarnel {
namespace {

constexpr char kClearPassword[] = "Qu4rnel-S3cret!";
// Base64 of the password's bytes, as the parameter string keeps it.
constexpr wchar_t kEncodedPassword[] = L"UXU0cm5lbC1TM2NyZXQh";

struct HostOutput {
  ProgramRun run;
  std::string errorOutput;
};

// Runs the host with its error output going to a file of its own, read back
// when it is done.
HostOutput RunHost(const std::wstring& parameterString) {
  const TestDirectory directory(L"secrets");
  const std::wstring errorFile = directory.PathOf(L"host.err");
  HostOutput output;
  {
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const unique_hfile errors(CreateFileW(errorFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                           &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                           nullptr));
    EXPECT_TRUE(errors);
    const HANDLE ownErrors = GetStdHandle(STD_ERROR_HANDLE);
    SetStdHandle(STD_ERROR_HANDLE, errors.get());
    output.run = RunProgram({HostPath(), L"check", L"--trace", parameterString});
    SetStdHandle(STD_ERROR_HANDLE, ownErrors);
  }
  {
    const unique_hfile errors(CreateFileW(errorFile.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(errors.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) {
      output.errorOutput.append(buffer, read);
    }
  }
  return output;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

struct AuthenticatedCheck {
  const char* situation;
  std::wstring parameterString;
  std::string resultBegins;  // after "result: "
  bool errorReport;          // ends in the error report, traced as "ERROR "
};

TEST(Secrets, TheClearPasswordAppearsInNoResultTraceLineOrHostOutput) {
  const std::wstring credentials = std::wstring(L"#AUTH=T#USR=corp\\monitor#PWD=") + kEncodedPassword;
  const AuthenticatedCheck checks[] = {
      {"an unreachable server",
       L"#FILE=\\\\unreachable.invalid\\logs\\app.log#WHT=WDATE#CMP=GT#VAL=1#UNIT=N" + credentials +
           L"#DBG=T#",
       "", false},
      {"a local path, whose server is \"C:\"",
       L"#FILE=C:\\windows\\*.ini#WHT=SIZE#CMP=GT#VAL=1#UNIT=KB" + credentials + L"#DBG=T#", "",
       false},
      {"no path to take a server name from",
       L"#FILE=#WHT=SIZE#CMP=GT#VAL=1#UNIT=KB" + credentials + L"#", "ERR: Subscript out of range (9)",
       true},
      {"a placeholder that ends the check",
       L"#FILE=\\\\srv\\logs\\{yyyy +1x}.log#WHT=SIZE#UNIT=KB" + credentials + L"#",
       "ERR: Invalid procedure call or argument (5)", true},
  };
  for (const AuthenticatedCheck& check : checks) {
    SCOPED_TRACE(check.situation);
    const HostOutput output = RunHost(check.parameterString);
    const auto& lines = output.run.lines;

    // The check ran to a result, with its trace lines, so that the lines
    // searched are the real ones.
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "status: False");
    ASSERT_TRUE(StartsWith(lines[1], "result: " + check.resultBegins)) << lines[1];
    EXPECT_GT(lines[1].size(), std::string("result: ").size());
    if (check.errorReport) {
      EXPECT_TRUE(std::find(lines.begin(), lines.end(), "trace: ERROR " + lines[1].substr(8)) !=
                  lines.end())
          << "the error report was not traced";
    }

    for (const std::string& line : lines) {
      EXPECT_EQ(line.find(kClearPassword), std::string::npos) << line;
    }
    EXPECT_EQ(output.errorOutput.find(kClearPassword), std::string::npos) << output.errorOutput;
  }
}

}  // namespace
}  // namespace quarnel
