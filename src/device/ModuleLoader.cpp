#include "device/ModuleLoader.h"

#include <dlfcn.h>

namespace ruto {

bool OpenLibrary(ModuleHandle& Handle, const char* Name) {
  if (!Handle) Handle = dlopen(Name, RTLD_NOW | RTLD_LOCAL);
  return Handle != nullptr;
}

void CloseLibrary(ModuleHandle& Handle) {
  if (Handle) dlclose(Handle);
  Handle = nullptr;
}

void* LookUpSymbol(ModuleHandle Handle, const char* Name) {
  if (!Handle) return nullptr;
  return dlsym(Handle, Name);
}

void* LookUpSymbolChecked(ModuleHandle Handle, const char* Name, bool& Ok) {
  void* entry = LookUpSymbol(Handle, Name);
  Ok = Ok && entry != nullptr;
  return entry;
}

}  // namespace ruto
