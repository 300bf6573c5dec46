// The stand-in's reading of import tables.
#pragma once

#include <windows.h>

namespace standin {

// The import-table slot through which module calls function of dll (the
// DLL's name compared without case), or nullptr.
void** FindImportSlot(HMODULE module, const char* dll, const char* function);

}  // namespace standin
