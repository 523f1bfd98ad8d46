#pragma once
// Owning wrappers for Windows resources: one small type per kind of handle,
// each with its own invalid value and close function, in the manner of WIL's
// unique_any. `put()` releases what is held and hands out the address for an
// API that writes a new handle.

#include "support/windows_win32.h"
#include <objbase.h>

#include <utility>

namespace quarnel {

// Traits name the handle type, its invalid value and how it is closed.
template <typename Traits>
class unique_any {
 public:
  using Handle = typename Traits::Handle;

  unique_any() = default;
  explicit unique_any(Handle handle) : handle_(handle) {}
  unique_any(const unique_any&) = delete;
  unique_any& operator=(const unique_any&) = delete;
  unique_any(unique_any&& other) noexcept : handle_(other.release()) {}
  unique_any& operator=(unique_any&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~unique_any() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Invalid(); }

  void reset(Handle handle = Traits::Invalid()) {
    if (handle_ != Traits::Invalid()) Traits::Close(handle_);
    handle_ = handle;
  }
  Handle release() { return std::exchange(handle_, Traits::Invalid()); }
  Handle* put() {
    reset();
    return &handle_;
  }

 private:
  Handle handle_ = Traits::Invalid();
};

namespace detail {
template <typename H, H invalid, auto close>
struct NullTraits {
  using Handle = H;
  static Handle Invalid() { return invalid; }
  static void Close(Handle h) { close(h); }
};
struct FindTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { ::FindClose(h); }
};
struct FileTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { ::CloseHandle(h); }
};
inline void CloseKernelHandle(HANDLE h) { ::CloseHandle(h); }
inline void CloseKey(HKEY h) { ::RegCloseKey(h); }
inline void ReleaseLibrary(HMODULE h) { ::FreeLibrary(h); }
inline void FreeBstr(BSTR s) { ::SysFreeString(s); }
inline void DestroyWindowHandle(HWND h) { ::DestroyWindow(h); }
inline void DeleteFontHandle(HFONT h) { ::DeleteObject(h); }
inline void ReleaseScreenDc(HDC h) { ::ReleaseDC(nullptr, h); }
}  // namespace detail

// FindFirstFileW / FindNextFileW searches.
using unique_find = unique_any<detail::FindTraits>;
// Files opened with CreateFileW, which fails with INVALID_HANDLE_VALUE.
using unique_hfile = unique_any<detail::FileTraits>;
// Processes, threads and events (the invalid value is the null handle).
using unique_handle = unique_any<detail::NullTraits<HANDLE, nullptr, detail::CloseKernelHandle>>;
using unique_hkey = unique_any<detail::NullTraits<HKEY, nullptr, detail::CloseKey>>;
using unique_hmodule = unique_any<detail::NullTraits<HMODULE, nullptr, detail::ReleaseLibrary>>;
using unique_bstr = unique_any<detail::NullTraits<BSTR, nullptr, detail::FreeBstr>>;
using unique_hwnd = unique_any<detail::NullTraits<HWND, nullptr, detail::DestroyWindowHandle>>;
using unique_hfont = unique_any<detail::NullTraits<HFONT, nullptr, detail::DeleteFontHandle>>;
// The screen's device context, GetDC(nullptr).
using unique_screen_dc = unique_any<detail::NullTraits<HDC, nullptr, detail::ReleaseScreenDc>>;

// A VARIANT that is cleared when it goes out of scope.
class unique_variant {
 public:
  unique_variant() { VariantInit(&value_); }
  unique_variant(const unique_variant&) = delete;
  unique_variant& operator=(const unique_variant&) = delete;
  // A move hands the value over and leaves the source Empty.
  unique_variant(unique_variant&& other) noexcept : value_(other.release()) {}
  unique_variant& operator=(unique_variant&& other) noexcept {
    if (this != &other) {
      VariantClear(&value_);
      value_ = other.release();
    }
    return *this;
  }
  ~unique_variant() { VariantClear(&value_); }

  VARIANT& get() { return value_; }
  const VARIANT& get() const { return value_; }
  // Clears the value and hands out its address for an API that writes one.
  VARIANT* put() {
    VariantClear(&value_);
    return &value_;
  }
  // Moves the value out to the caller, leaving this one Empty.
  VARIANT release() {
    VARIANT out = value_;
    VariantInit(&value_);
    return out;
  }

 private:
  VARIANT value_;
};

// A counted COM reference. Made from a pointer it takes a reference of its
// own; `attach` takes over the reference that the caller holds.
template <typename Interface>
class com_ptr {
 public:
  com_ptr() = default;
  explicit com_ptr(Interface* p) : p_(p) {
    if (p_) p_->AddRef();
  }
  static com_ptr attach(Interface* p) {
    com_ptr attached;
    attached.p_ = p;
    return attached;
  }
  com_ptr(const com_ptr& other) : com_ptr(other.p_) {}
  com_ptr& operator=(const com_ptr& other) {
    com_ptr(other).swap(*this);
    return *this;
  }
  com_ptr(com_ptr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  com_ptr& operator=(com_ptr&& other) noexcept {
    com_ptr(std::move(other)).swap(*this);
    return *this;
  }
  ~com_ptr() { reset(); }

  Interface* get() const { return p_; }
  Interface* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  void reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }
  Interface** put() {
    reset();
    return &p_;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }
  void swap(com_ptr& other) noexcept { std::swap(p_, other.p_); }

 private:
  Interface* p_ = nullptr;
};

// A single-threaded apartment on the calling thread while this lives; a
// thread that could not enter one leaves nothing to undo.
class unique_apartment {
 public:
  unique_apartment() : entered_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~unique_apartment() {
    if (SUCCEEDED(entered_)) CoUninitialize();
  }
  unique_apartment(const unique_apartment&) = delete;
  unique_apartment& operator=(const unique_apartment&) = delete;
  HRESULT entered() const { return entered_; }

 private:
  HRESULT entered_;
};

}  // namespace quarnel
