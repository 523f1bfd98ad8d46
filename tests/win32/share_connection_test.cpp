// Share connections through the machine's own networking library. The
// servers named here cannot be reached, so every connection fails with the
// system's own code and message.

#include "support/windows_win32.h"

#include <gtest/gtest.h>

#include "fileaccess/file_lookup.h"
#include "fileaccess/file_system_win32.h"
#include "fileaccess/share_connection.h"
#include "fileaccess/share_connection_win32.h"
#include "support/check_error.h"

namespace quarnel {
namespace {

// Passes every call to the system and keeps the code of the last connection.
class ObservedNetwork : public NetworkApi {
 public:
  explicit ObservedNetwork(NetworkApi& system) : system_(system) {}
  std::uint32_t AddConnection(const NetResource& resource, const std::string& password,
                              const std::string& user, std::uint32_t flags) override {
    ++added;
    lastAddResult = system_.AddConnection(resource, password, user, flags);
    return lastAddResult;
  }
  std::uint32_t CancelConnection(const std::string& name, std::uint32_t flags,
                                 bool force) override {
    return system_.CancelConnection(name, flags, force);
  }

  int added = 0;
  std::uint32_t lastAddResult = 0;

 private:
  NetworkApi& system_;
};

TEST(SystemShareConnection, AnUnreachableServerGivesTheSystemsMessage) {
  SystemNetworkApi system;
  SystemFileSystem files;
  for (const wchar_t* server : {L"quarnel-unreachable.invalid", L"C:"}) {
    ObservedNetwork network(system);
    std::wstring errorText;
    EXPECT_FALSE(ConnectIpcShare(network, files, server, L"ops", L"secret", errorText));
    ASSERT_EQ(network.added, 1) << server;
    EXPECT_NE(network.lastAddResult, 0u);
    EXPECT_EQ(errorText,
              GetSystemErrorText(files, static_cast<std::int32_t>(network.lastAddResult)));
    EXPECT_NE(errorText, L"");
    EXPECT_EQ(errorText.find(L"secret"), std::wstring::npos);
  }
}

TEST(SystemShareConnection, CancellingAConnectionThatDoesNotExistFails) {
  SystemNetworkApi system;
  EXPECT_FALSE(DisconnectIpcShare(system, L"quarnel-unreachable.invalid"));
}

TEST(SystemShareConnection, AMissingLibraryIsAnErrorTextWhenConnecting) {
  SystemNetworkApi missing(L"quarnel-no-such-library.dll");
  SystemFileSystem files;
  std::wstring errorText;
  EXPECT_FALSE(ConnectIpcShare(missing, files, L"fs01", L"ops", L"secret", errorText));
  EXPECT_EQ(errorText, kErrorLoadingLibraryText);
  try {
    DisconnectIpcShare(missing, L"fs01");
    ADD_FAILURE() << "no failure without the library";
  } catch (const CheckError& error) {
    EXPECT_EQ(error.number(), kErrorLoadingLibrary);
  }
}

TEST(SystemShareConnection, ALibraryWithoutTheFunctionsIsAnErrorText) {
  SystemNetworkApi wrong(L"kernel32.dll");
  SystemFileSystem files;
  std::wstring errorText;
  EXPECT_FALSE(ConnectIpcShare(wrong, files, L"fs01", L"ops", L"secret", errorText));
  EXPECT_EQ(errorText, kErrorLoadingLibraryText);
}

}  // namespace
}  // namespace quarnel
