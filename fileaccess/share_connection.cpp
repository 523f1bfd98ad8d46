#include "fileaccess/share_connection.h"

#include <cstddef>
#include <exception>

#include "fileaccess/file_lookup.h"
#include "support/check_error.h"
#include "support/codepage.h"
#include "support/text.h"

namespace quarnel {
namespace {

constexpr std::uint32_t kNoError = 0;

// Overwrites a text that held a password in clear when it goes out of scope,
// so that the password does not linger in freed memory. The volatile stores
// keep the compiler from dropping the overwrite of memory about to be freed.
template <typename Text>
class WipeOnExit {
 public:
  explicit WipeOnExit(Text& text) : text_(text) {}
  WipeOnExit(const WipeOnExit&) = delete;
  WipeOnExit& operator=(const WipeOnExit&) = delete;
  ~WipeOnExit() {
    volatile auto* characters = text_.data();
    for (std::size_t i = 0; i < text_.size(); ++i) characters[i] = 0;
  }

 private:
  Text& text_;
};

// TrimSpaces builds an intermediate copy; for the password only the one copy
// made here exists, so that it is the only one to wipe.
std::wstring SpaceTrimmedSecret(const std::wstring& secret) {
  const auto first = secret.find_first_not_of(L' ');
  if (first == std::wstring::npos) return std::wstring();
  const auto last = secret.find_last_not_of(L' ');
  return secret.substr(first, last - first + 1);
}

std::wstring ConnectionNameForConnecting(const std::wstring& server) {
  // The test for "\\" looks at the server as passed, before trimming.
  const std::wstring prefix = StartsWith(server, L"\\\\") ? L"" : L"\\\\";
  return prefix + TrimSpaces(server) + L"\\ipc$";
}

std::wstring ConnectionNameForCancelling(const std::wstring& server) {
  return L"\\\\" + TrimSpaces(server) + L"\\IPC$";
}

NetResource IpcShareResource(const std::wstring& server) {
  NetResource resource;
  resource.scope = kResourceGlobalNet;
  resource.type = kResourceTypeDisk;
  resource.displayType = kResourceDisplayTypeShare;
  resource.usage = kResourceUsageConnectable;
  resource.remoteName = ToAnsi(ConnectionNameForConnecting(server));
  return resource;
}

std::uint32_t AddIpcConnection(NetworkApi& network, const std::wstring& server,
                               const std::wstring& user, const std::wstring& password) {
  const NetResource resource = IpcShareResource(server);
  std::wstring trimmedPassword = SpaceTrimmedSecret(password);
  const WipeOnExit<std::wstring> wipeTrimmed(trimmedPassword);
  std::string passwordBytes = ToAnsi(trimmedPassword);
  const WipeOnExit<std::string> wipeBytes(passwordBytes);
  return network.AddConnection(resource, passwordBytes, ToAnsi(TrimSpaces(user)),
                               kConnectUpdateProfile);
}

}  // namespace

bool ConnectIpcShare(NetworkApi& network, FileSystem& files, const std::wstring& server,
                     const std::wstring& user, const std::wstring& password,
                     std::wstring& errorText) {
  try {
    DisconnectIpcShare(network, server);
    const std::uint32_t code = AddIpcConnection(network, server, user, password);
    if (code == kNoError) return true;
    errorText = GetSystemErrorText(files, static_cast<std::int32_t>(code));
    return false;
  } catch (const CheckError& failure) {
    errorText = failure.description();
    return false;
  } catch (const std::exception& failure) {
    errorText = FromAnsi(failure.what());
    return false;
  }
}

bool DisconnectIpcShare(NetworkApi& network, const std::wstring& server) {
  return network.CancelConnection(ToAnsi(ConnectionNameForCancelling(server)),
                                  kConnectUpdateProfile, false) == kNoError;
}

}  // namespace quarnel
