#include "fileaccess/share_connection_win32.h"

#include "support/windows_win32.h"
#include <winnetwk.h>

#include <utility>

#include "support/check_error.h"
#include "support/unique_any_win32.h"

namespace quarnel {

static_assert(kResourceGlobalNet == RESOURCE_GLOBALNET && kResourceTypeDisk == RESOURCETYPE_DISK &&
                  kResourceDisplayTypeShare == RESOURCEDISPLAYTYPE_SHARE &&
                  kResourceUsageConnectable == RESOURCEUSAGE_CONNECTABLE &&
                  kConnectUpdateProfile == CONNECT_UPDATE_PROFILE,
              "the portable copies of the network's values differ from the system's");

namespace {

using AddConnectionFunction = DWORD(WINAPI*)(LPNETRESOURCEA, LPCSTR, LPCSTR, DWORD);
using CancelConnectionFunction = DWORD(WINAPI*)(LPCSTR, DWORD, BOOL);

[[noreturn]] void ThrowLoadFailure() {
  throw CheckError(kErrorLoadingLibrary, kErrorLoadingLibraryText);
}

// The library stays loaded while the function found in it is in use.
template <typename Function>
class LoadedFunction {
 public:
  LoadedFunction(const std::wstring& libraryName, const char* functionName)
      : library_(LoadLibraryW(libraryName.c_str())) {
    if (!library_) ThrowLoadFailure();
    function_ = reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(library_.get(), functionName)));
    if (!function_) ThrowLoadFailure();
  }

  Function get() const { return function_; }

 private:
  unique_hmodule library_;
  Function function_ = nullptr;
};

LPSTR TextOrNull(std::optional<std::string>& text) {
  return text ? text->data() : nullptr;
}

}  // namespace

SystemNetworkApi::SystemNetworkApi(std::wstring libraryName)
    : libraryName_(std::move(libraryName)) {}

std::uint32_t SystemNetworkApi::AddConnection(const NetResource& resource,
                                              const std::string& password,
                                              const std::string& user, std::uint32_t flags) {
  const LoadedFunction<AddConnectionFunction> add(libraryName_, "WNetAddConnection2A");
  // The record takes writable texts; these copies hold no secret.
  NetResource texts = resource;
  NETRESOURCEA record = {};
  record.dwScope = resource.scope;
  record.dwType = resource.type;
  record.dwDisplayType = resource.displayType;
  record.dwUsage = resource.usage;
  record.lpLocalName = TextOrNull(texts.localName);
  record.lpRemoteName = TextOrNull(texts.remoteName);
  record.lpComment = TextOrNull(texts.comment);
  record.lpProvider = TextOrNull(texts.provider);
  return add.get()(&record, password.c_str(), user.c_str(), flags);
}

std::uint32_t SystemNetworkApi::CancelConnection(const std::string& name, std::uint32_t flags,
                                                 bool force) {
  const LoadedFunction<CancelConnectionFunction> cancel(libraryName_, "WNetCancelConnection2A");
  return cancel.get()(name.c_str(), flags, force ? TRUE : FALSE);
}

}  // namespace quarnel
