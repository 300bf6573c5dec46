// Lets a sim script try what happens when the game's memory runs out.
#pragma once

#include <cstddef>

namespace standin {

// The 32-bit game takes (reserves without using) the process's free address
// space, leaving about left_mib MiB, no block of it larger than the largest
// power of two not above left_mib. The 64-bit game, whose address space
// cannot be used up, lets its plug-ins' C runtime allocations fail once
// they would take more than left_mib MiB from now on. Returns the MiB left.
size_t SqueezeAddressSpace(size_t left_mib);

}  // namespace standin
