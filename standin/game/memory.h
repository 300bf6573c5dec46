// Lets a sim script try what happens when the game's memory runs out.
#pragma once

#include <cstddef>

namespace standin {

// Takes (reserves without using) the process's free address space, leaving
// about left_mib MiB, no block of it larger than the largest power of two
// not above left_mib. Returns the MiB left.
size_t SqueezeAddressSpace(size_t left_mib);

}  // namespace standin
