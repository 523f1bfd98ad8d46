#pragma once
// An authenticated connection to a server's IPC$ share, made before a check
// looks at files on that server and cancelled after it. While it exists,
// the system uses its credentials for the file searches to that server.

#include <cstdint>
#include <optional>
#include <string>

#include "fileaccess/system_messages.h"

namespace quarnel {

// The values of NETRESOURCEA's fields and of the connection's flags that
// the plug-in uses; share_connection_win32.cpp ties them to the headers.
constexpr std::uint32_t kResourceGlobalNet = 2;
constexpr std::uint32_t kResourceTypeDisk = 1;
constexpr std::uint32_t kResourceDisplayTypeShare = 3;
constexpr std::uint32_t kResourceUsageConnectable = 1;
constexpr std::uint32_t kConnectUpdateProfile = 1;

// NETRESOURCEA, with the texts as the ANSI bytes that the system receives;
// an absent text is a null pointer.
struct NetResource {
  std::uint32_t scope = 0;
  std::uint32_t type = 0;
  std::uint32_t displayType = 0;
  std::uint32_t usage = 0;
  std::optional<std::string> localName;
  std::optional<std::string> remoteName;
  std::optional<std::string> comment;
  std::optional<std::string> provider;
};

// The system's networking calls (WNetAddConnection2A and
// WNetCancelConnection2A), each returning the system's result code. Either
// may throw CheckError when the networking library cannot be loaded.
class NetworkApi {
 public:
  virtual ~NetworkApi() = default;
  virtual std::uint32_t AddConnection(const NetResource& resource, const std::string& password,
                                      const std::string& user, std::uint32_t flags) = 0;
  virtual std::uint32_t CancelConnection(const std::string& name, std::uint32_t flags,
                                         bool force) = 0;
};

// Cancels an existing connection to the server's IPC$ share, then connects
// to it with the user and password (both trimmed of spaces). On failure
// returns false with the system's message, or the description of a library
// that could not be loaded, in errorText; the password appears in neither.
// The server comes without the leading "\\" of its network path; one that
// already begins with "\\" is used as it is.
bool ConnectIpcShare(NetworkApi& network, SystemMessages& messages, const std::wstring& server,
                     const std::wstring& user, const std::wstring& password,
                     std::wstring& errorText);

// Cancels the connection to the server's IPC$ share unless files are still
// open on it. True when the system cancelled it. A library that cannot be
// loaded throws CheckError to the caller.
bool DisconnectIpcShare(NetworkApi& network, const std::wstring& server);

}  // namespace quarnel
