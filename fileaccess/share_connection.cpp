#include "fileaccess/share_connection.h"

#include <exception>

#include "support/check_error.h"
#include "support/codepage.h"
#include "support/secret.h"
#include "support/text.h"

namespace quarnel {
namespace {

constexpr std::uint32_t kNoError = 0;

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
  std::wstring trimmedPassword = TrimSpaces(password);
  const WipeOnExit<std::wstring> wipeTrimmed(trimmedPassword);
  std::string passwordBytes = ToAnsi(trimmedPassword);
  const WipeOnExit<std::string> wipeBytes(passwordBytes);
  return network.AddConnection(resource, passwordBytes, ToAnsi(TrimSpaces(user)),
                               kConnectUpdateProfile);
}

}  // namespace

bool ConnectIpcShare(NetworkApi& network, SystemMessages& messages, const std::wstring& server,
                     const std::wstring& user, const std::wstring& password,
                     std::wstring& errorText) {
  try {
    DisconnectIpcShare(network, server);
    const std::uint32_t code = AddIpcConnection(network, server, user, password);
    if (code == kNoError) return true;
    errorText = GetSystemErrorText(messages, static_cast<std::int32_t>(code));
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
