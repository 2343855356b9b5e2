#pragma once
// Loading a shared library by name and looking up its entry points at run time, so that a
// machine without the library still runs (with the services it offers left out).

namespace ruto {

using ModuleHandle = void*;

// Loads `Name` into `Handle` when Handle is null; true when Handle is then non-null.
bool OpenLibrary(ModuleHandle& Handle, const char* Name);
// Frees the library when loaded; Handle becomes null.
void CloseLibrary(ModuleHandle& Handle);
// The entry point of that name, or null when the library is not loaded or lacks the name.
void* LookUpSymbol(ModuleHandle Handle, const char* Name);
// Like LookUpSymbol; Ok stays true only when it was true and the name was found.
void* LookUpSymbolChecked(ModuleHandle Handle, const char* Name, bool& Ok);

}  // namespace ruto
