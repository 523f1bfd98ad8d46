#include "plugin/server/registration.h"

#include <objbase.h>
#include <oleauto.h>

#include <string>

#include "plugin/server/error_result.h"
#include "plugin/server/module.h"
#include "quarnel_h.h"  // generated from plugin/quarnel.idl
#include "support/unique_any_win32.h"

namespace quarnel {
namespace {

constexpr wchar_t kProgId[] = L"comQuarnel.quarnelcom";
constexpr wchar_t kClassName[] = L"quarnelcom";
constexpr WORD kLibraryMajor = 1;
constexpr WORD kLibraryMinor = 0;
constexpr LCID kLibraryLocale = 0x0409;
// Each bitness registers its class in its own registry view; on 64-bit
// Windows the ProgID and the type library's key are shared by both views,
// the library's win32 and win64 subkeys name each build's file.
#ifdef _WIN64
constexpr SYSKIND kOwnSysKind = SYS_WIN64;
constexpr wchar_t kOwnPlatform[] = L"win64";
constexpr REGSAM kOtherView = KEY_WOW64_32KEY;
#else
constexpr SYSKIND kOwnSysKind = SYS_WIN32;
constexpr wchar_t kOwnPlatform[] = L"win32";
// Ignored on 32-bit Windows, which has one view: the class just removed.
constexpr REGSAM kOtherView = KEY_WOW64_64KEY;
#endif

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40];
  StringFromGUID2(guid, text, 40);
  return text;
}

std::wstring ClassKeyPath() { return L"CLSID\\" + GuidText(CLSID_quarnelcom); }

// Creates HKEY_CLASSES_ROOT\<path> and sets one text value of it (`name`
// null: the key's default value).
LONG WriteClassesText(const std::wstring& path, const wchar_t* name, const std::wstring& text) {
  unique_hkey key;
  LONG status = RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                KEY_SET_VALUE, nullptr, key.put(), nullptr);
  if (status != ERROR_SUCCESS) return status;
  const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        bytes);
}

LONG DeleteClassesTree(const std::wstring& path) {
  const LONG status = RegDeleteTreeW(HKEY_CLASSES_ROOT, path.c_str());
  return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

struct ClassesText {
  std::wstring path;
  const wchar_t* name;
  std::wstring text;
};

HRESULT WriteClassKeys(const std::wstring& modulePath) {
  const std::wstring classKey = ClassKeyPath();
  const std::wstring progIdKey = kProgId;
  const ClassesText entries[] = {
      {classKey, nullptr, kClassName},
      {classKey + L"\\InprocServer32", nullptr, modulePath},
      {classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {classKey + L"\\ProgID", nullptr, kProgId},
      {classKey + L"\\TypeLib", nullptr, GuidText(LIBID_comQuarnel)},
      {classKey + L"\\VERSION", nullptr, L"1.0"},
      {progIdKey, nullptr, kClassName},
      {progIdKey + L"\\CLSID", nullptr, GuidText(CLSID_quarnelcom)},
  };
  for (const ClassesText& entry : entries) {
    const LONG status = WriteClassesText(entry.path, entry.name, entry.text);
    if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
  }
  return S_OK;
}

HRESULT RegisterOwnTypeLibrary(const std::wstring& modulePath) {
  com_ptr<ITypeLib> library;
  const HRESULT loaded = LoadOwnTypeLibrary(library.put());
  if (FAILED(loaded)) return loaded;
  return RegisterTypeLib(library.get(), const_cast<LPOLESTR>(modulePath.c_str()), nullptr);
}

HRESULT WriteRegistration() {
  const std::wstring modulePath = ModulePath();
  if (modulePath.empty()) return HRESULT_FROM_WIN32(GetLastError());
  const HRESULT written = WriteClassKeys(modulePath);
  if (FAILED(written)) return written;
  return RegisterOwnTypeLibrary(modulePath);
}

// Whether the build of the other bitness still has its class registered in
// its own view.
bool OtherBuildRegistered() {
  unique_hkey key;
  const std::wstring server = ClassKeyPath() + L"\\InprocServer32";
  return RegOpenKeyExW(HKEY_CLASSES_ROOT, server.c_str(), 0, KEY_READ | kOtherView, key.put()) ==
         ERROR_SUCCESS;
}

// Only this build's subkey of the type library ("TypeLib\{LIBID}\1.0\409\win64"),
// for while the other build still uses the rest.
HRESULT RemoveOwnTypeLibraryPlatform() {
  wchar_t version[32];
  wsprintfW(version, L"\\%u.%u\\%x\\", kLibraryMajor, kLibraryMinor, kLibraryLocale);
  const LONG status =
      DeleteClassesTree(L"TypeLib\\" + GuidText(LIBID_comQuarnel) + version + kOwnPlatform);
  return HRESULT_FROM_WIN32(status);
}

HRESULT RemoveRegistration() {
  const LONG classGone = DeleteClassesTree(ClassKeyPath());
  if (classGone != ERROR_SUCCESS) return HRESULT_FROM_WIN32(classGone);
  if (OtherBuildRegistered()) return RemoveOwnTypeLibraryPlatform();
  const HRESULT library = UnRegisterTypeLib(LIBID_comQuarnel, kLibraryMajor, kLibraryMinor,
                                            kLibraryLocale, kOwnSysKind);
  const bool libraryGone = SUCCEEDED(library) || library == TYPE_E_REGISTRYACCESS ||
                           library == TYPE_E_CANTLOADLIBRARY;
  const LONG progIdGone = DeleteClassesTree(kProgId);
  if (progIdGone != ERROR_SUCCESS) return HRESULT_FROM_WIN32(progIdGone);
  return libraryGone ? S_OK : library;
}

}  // namespace

HRESULT RegisterServer() {
  try {
    const HRESULT registered = WriteRegistration();
    if (FAILED(registered)) RemoveRegistration();
    return registered;
  } catch (...) {
    return HResultFromCurrentException();
  }
}

HRESULT UnregisterServer() {
  try {
    return RemoveRegistration();
  } catch (...) {
    return HResultFromCurrentException();
  }
}

}  // namespace quarnel
