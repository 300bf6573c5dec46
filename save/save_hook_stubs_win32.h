// The stubs that patched game code points jump or call into, and what they
// read. Each stub replays the game instructions its patch replaced, keeps
// every register and flag the game may still need, and calls its handler.
#pragma once

#include <cstdint>

extern "C" {

// The stub's address, for the rename site's indirect jump.
extern void* korvel_rename_stub_address;
// Where the rename stub goes back to: the instruction after the site.
extern void* korvel_rename_resume;
// The game variable the reset site loads into ECX.
extern uintptr_t korvel_reset_value_address;

void KorvelRenameStub();
void KorvelDeleteStub();
void KorvelResetStub();

// Called by the stubs; they catch everything.
void KorvelRenameHandler(const char* existing, const char* renamed) noexcept;
void KorvelDeleteHandler(const char* name) noexcept;
void KorvelResetHandler() noexcept;

}  // extern "C"

namespace korvel::save_sites {

// The game's instructions at each site and how many bytes the patch covers.
#if defined(__x86_64__)
// MOV RCX,[RBP+16]; MOV RDX,[RBP+24]: the two arguments of the game's move.
inline constexpr uint8_t kRename[8] = {0x48, 0x8B, 0x4D, 0x10, 0x48, 0x8B, 0x55, 0x18};
// CMP QWORD [RBP+16],0; CMOVNE RSI,RAX: the game's conditional copy of the name.
inline constexpr uint8_t kDelete[9] = {0x48, 0x83, 0x7D, 0x10, 0x00, 0x48, 0x0F, 0x45, 0xF0};
#else
// PUSH DWORD [EBP+12]; PUSH DWORD [EBP+8]: the two arguments of the game's move.
inline constexpr uint8_t kRename[6] = {0xFF, 0x75, 0x0C, 0xFF, 0x75, 0x08};
// CMP DWORD [EBP+8],0; CMOVNE ESI,EAX: the game's conditional copy of the name.
inline constexpr uint8_t kDelete[7] = {0x83, 0x7D, 0x08, 0x00, 0x0F, 0x45, 0xF0};
#endif
// MOV ECX,[abs32] on i386, MOV ECX,[RIP+disp32] on x86-64: the operand is
// not checked.
inline constexpr uint8_t kReset[6] = {0x8B, 0x0D, 0, 0, 0, 0};
inline constexpr uint8_t kResetMask[6] = {1, 1, 0, 0, 0, 0};

}  // namespace korvel::save_sites
