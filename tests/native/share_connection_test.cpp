#include "fileaccess/share_connection.h"

#include <gtest/gtest.h>

#include <vector>

#include "fake_machine.h"
#include "support/check_error.h"

namespace quarnel {
namespace {

using fake::FakeFileSystem;
using fake::RecordingNetwork;

class ShareConnection : public ::testing::Test {
 protected:
  bool Connect(const std::wstring& server, const std::wstring& user = L"ops",
               const std::wstring& password = L"secret") {
    return ConnectIpcShare(network, files, server, user, password, errorText);
  }

  RecordingNetwork network;
  FakeFileSystem files;
  std::wstring errorText = L"untouched";
};

TEST_F(ShareConnection, CancelsFirstThenConnectsWithTheRecordOfTheIpcShare) {
  EXPECT_TRUE(Connect(L"fs01"));
  ASSERT_EQ(network.calls.size(), 2u);

  const auto& cancel = network.calls[0];
  EXPECT_EQ(cancel.function, "cancel");
  EXPECT_EQ(cancel.name, "\\\\fs01\\IPC$");
  EXPECT_EQ(cancel.flags, kConnectUpdateProfile);
  EXPECT_FALSE(cancel.force);

  const auto& add = network.calls[1];
  EXPECT_EQ(add.function, "add");
  EXPECT_EQ(add.resource.scope, 2u);
  EXPECT_EQ(add.resource.type, 1u);
  EXPECT_EQ(add.resource.displayType, 3u);
  EXPECT_EQ(add.resource.usage, 1u);
  EXPECT_EQ(add.resource.remoteName, std::optional<std::string>("\\\\fs01\\ipc$"));
  EXPECT_EQ(add.resource.localName, std::nullopt);
  EXPECT_EQ(add.resource.comment, std::nullopt);
  EXPECT_EQ(add.resource.provider, std::nullopt);
  EXPECT_EQ(add.password, "secret");
  EXPECT_EQ(add.user, "ops");
  EXPECT_EQ(add.flags, 1u);
  // Success leaves the error text alone.
  EXPECT_EQ(errorText, L"untouched");
}

TEST_F(ShareConnection, BuildsTheConnectionNamesFromTheServer) {
  struct Case {
    const wchar_t* server;
    const char* connectName;
    const char* cancelName;
  };
  const Case cases[] = {
      {L"fs01", "\\\\fs01\\ipc$", "\\\\fs01\\IPC$"},
      {L"\\\\fs01", "\\\\fs01\\ipc$", "\\\\\\\\fs01\\IPC$"},
      {L"  fs01  ", "\\\\fs01\\ipc$", "\\\\fs01\\IPC$"},
      // The test for "\\" looks at the untrimmed server.
      {L"  \\\\fs01", "\\\\\\\\fs01\\ipc$", "\\\\\\\\fs01\\IPC$"},
      {L"\\\\fs01  ", "\\\\fs01\\ipc$", "\\\\\\\\fs01\\IPC$"},
      {L"C:", "\\\\C:\\ipc$", "\\\\C:\\IPC$"},
      {L"", "\\\\\\ipc$", "\\\\\\IPC$"},
  };
  for (const auto& c : cases) {
    network.calls.clear();
    Connect(c.server);
    ASSERT_EQ(network.calls.size(), 2u);
    EXPECT_EQ(network.calls[0].name, c.cancelName) << c.server;
    EXPECT_EQ(network.calls[1].resource.remoteName, std::optional<std::string>(c.connectName))
        << c.server;
  }
}

TEST_F(ShareConnection, SendsCredentialsTrimmedOfSpacesOnly) {
  struct Case {
    const wchar_t *user, *password;
    const char *sentUser, *sentPassword;
  };
  const Case cases[] = {
      {L"  DOMAIN\\ops  ", L"  pa ss  ", "DOMAIN\\ops", "pa ss"},
      {L"\tops", L"pw\t", "\tops", "pw\t"},
      {L"", L"", "", ""},
      {L"   ", L"   ", "", ""},
      // Texts go to the system in the ANSI code page.
      {L"J\u00fcrgen", L"\u00e9t\u00e9", "J\xfcrgen", "\xe9t\xe9"},
  };
  for (const auto& c : cases) {
    network.calls.clear();
    Connect(L"fs01", c.user, c.password);
    ASSERT_EQ(network.calls.size(), 2u);
    EXPECT_EQ(network.calls[1].user, c.sentUser);
    EXPECT_EQ(network.calls[1].password, c.sentPassword);
  }
}

TEST_F(ShareConnection, ConnectsEvenWhenThereWasNothingToCancel) {
  network.cancelResult = 2250;  // no such connection
  EXPECT_TRUE(Connect(L"fs01"));
  EXPECT_EQ(network.calls.size(), 2u);
}

TEST_F(ShareConnection, ARefusedConnectionGivesTheSystemsMessageWithoutCodeOrPassword) {
  network.addResult = 1326;
  EXPECT_FALSE(Connect(L"fs01", L"ops", L"hunter2"));
  EXPECT_EQ(errorText, L"The user name or password is incorrect.");
}

TEST_F(ShareConnection, ACodeWithoutMessageGivesAnEmptyErrorText) {
  network.addResult = 99999;
  EXPECT_FALSE(Connect(L"fs01"));
  EXPECT_EQ(errorText, L"");
}

TEST_F(ShareConnection, AMissingLibraryBecomesTheErrorText) {
  network.libraryMissing = true;
  EXPECT_FALSE(Connect(L"fs01", L"ops", L"hunter2"));
  EXPECT_EQ(errorText, L"Error in loading DLL");
}

TEST_F(ShareConnection, ASecondConnectionCancelsTheFirst) {
  Connect(L"fs01");
  Connect(L"fs01");
  std::vector<std::string> order;
  for (const auto& call : network.calls) order.push_back(call.function);
  EXPECT_EQ(order, (std::vector<std::string>{"cancel", "add", "cancel", "add"}));
}

TEST_F(ShareConnection, DisconnectReportsWhetherTheSystemCancelled) {
  EXPECT_TRUE(DisconnectIpcShare(network, L" fs01 "));
  ASSERT_EQ(network.calls.size(), 1u);
  EXPECT_EQ(network.calls[0].name, "\\\\fs01\\IPC$");
  EXPECT_EQ(network.calls[0].flags, 1u);
  EXPECT_FALSE(network.calls[0].force);

  network.cancelResult = 2250;
  EXPECT_FALSE(DisconnectIpcShare(network, L"fs01"));
}

TEST_F(ShareConnection, DisconnectLetsAMissingLibraryThrough) {
  network.libraryMissing = true;
  EXPECT_THROW(DisconnectIpcShare(network, L"fs01"), CheckError);
}

}  // namespace
}  // namespace quarnel
