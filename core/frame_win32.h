// The static command records handed to the host, built from the catalogue.
#pragma once

#include "core/qarn_abi_win32.h"

namespace korvel {

// The 126 records in catalogue order, with their parameter tables.
abi::CommandRecord* CommandRecords();

// The engine routine the parse stub forwards to (the editor's own, when
// the host runs the editor).
void SetDefaultParse(abi::ParseCallback parse);

}  // namespace korvel
