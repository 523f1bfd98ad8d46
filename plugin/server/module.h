#pragma once
// What the DLL knows about itself: its module handle and path, its own
// type library, and whether anything still keeps it loaded.

#include "support/windows_win32.h"
#include <oaidl.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/unique_any_win32.h"

namespace quarnel {

void RememberModule(HINSTANCE module);
std::wstring ModulePath();

// Live objects, live class factories and LockServer(TRUE) calls each hold
// one reference; DllCanUnloadNow says yes only when none is left.
void AddModuleReference();
void ReleaseModuleReference();
bool ModuleInUse();

// The type library embedded in this DLL as resource TYPELIB 1.
HRESULT LoadOwnTypeLibrary(ITypeLib** library);

// The type information of _quarnelcom, and what Invoke needs to know of each
// member, learnt once when it is loaded.
class InterfaceType {
 public:
  explicit InterfaceType(com_ptr<ITypeInfo> typeInfo);

  ITypeInfo& typeInfo() const { return *typeInfo_.get(); }
  // The number of arguments that the interface declares for a method, or
  // for a property assignment, with this dispatch identifier; the return
  // value does not count. Nothing when the interface has no such member,
  // and for property reads, whose surplus arguments index into the value
  // read.
  std::optional<UINT> DeclaredArgumentCount(DISPID id, WORD flags) const;

 private:
  struct Member {
    DISPID id;
    INVOKEKIND kind;
    UINT arguments;
  };
  com_ptr<ITypeInfo> typeInfo_;
  std::vector<Member> members_;  // in the order of the interface
};

// The interface type, loaded by the first call and shared by every object
// in the process afterwards. A failed load is tried again by the next call.
HRESULT LoadInterfaceType(std::shared_ptr<const InterfaceType>& type);
// Lets go of the shared interface type, when the DLL is unloaded.
void ReleaseInterfaceType();

}  // namespace quarnel
