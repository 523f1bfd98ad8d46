#pragma once
// The system's networking calls, from mpr.dll, which is loaded for each
// call and released again after it.

#include <string>

#include "fileaccess/share_connection.h"

namespace quarnel {

// The number and description of the failure when the networking library or
// one of its functions cannot be loaded.
constexpr int kErrorLoadingLibrary = 48;
constexpr const wchar_t* kErrorLoadingLibraryText = L"Error in loading DLL";

class SystemNetworkApi : public NetworkApi {
 public:
  explicit SystemNetworkApi(std::wstring libraryName = L"mpr.dll");

  // Both throw CheckError(kErrorLoadingLibrary) when the library or the
  // function cannot be loaded.
  std::uint32_t AddConnection(const NetResource& resource, const std::string& password,
                              const std::string& user, std::uint32_t flags) override;
  std::uint32_t CancelConnection(const std::string& name, std::uint32_t flags,
                                 bool force) override;

 private:
  std::wstring libraryName_;
};

}  // namespace quarnel
