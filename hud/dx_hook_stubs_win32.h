// The code the HUD's patched frame sites jump into, and what each reads.
// Each stub replays the game instructions its patch replaced, keeps the
// registers and flags the game may still need, and calls its handler.
#pragma once

#include <cstdint>

extern "C" {

// Final-pass branch: where the game's JE went, and the instruction after it.
extern void* korvel_final_target;
extern void* korvel_final_resume;
// Early-pass arm: the engine field compared with 0, the JNE's target and
// the instruction after the replaced bytes.
extern uintptr_t korvel_arm_field;
extern void* korvel_arm_target;
extern void* korvel_arm_resume;
// Early-pass point: the instruction after the replaced bytes.
extern void* korvel_early_resume;
// 1 once the engine armed the early pass, 0 again when it was drawn.
extern int32_t korvel_early_pending;

void KorvelFinalPassStub();
void KorvelArmEarlyPassStub();
void KorvelEarlyPassStub();

// Called by the stubs; they catch everything.
void KorvelFinalPass() noexcept;
void KorvelEarlyPass() noexcept;

}  // extern "C"

namespace korvel::hud_sites {

// The game's instructions at each site (a 0 in a mask skips the byte).
// CALL rel32.
inline constexpr uint8_t kD3dObject[5] = {0xE8, 0, 0, 0, 0};
inline constexpr uint8_t kD3dObjectMask[5] = {1, 0, 0, 0, 0};
// JE rel32.
inline constexpr uint8_t kFinalPass[6] = {0x0F, 0x84, 0, 0, 0, 0};
inline constexpr uint8_t kFinalPassMask[6] = {1, 1, 0, 0, 0, 0};
// CMP DWORD [abs32 or RIP+disp32],0; JNE rel8.
inline constexpr uint8_t kEarlyArm[9] = {0x83, 0x3D, 0, 0, 0, 0, 0x00, 0x75, 0};
inline constexpr uint8_t kEarlyArmMask[9] = {1, 1, 0, 0, 0, 0, 1, 1, 0};
#if defined(__x86_64__)
// CALL [RAX+0x80]: IDirect3DDevice9::Reset, slot 16 of 8-byte pointers.
inline constexpr uint8_t kResetCall[7] = {0xFF, 0x94, 0x20, 0x80, 0x00, 0x00, 0x00};
// CALL RAX; MOV EAX,[RSP+0x20].
inline constexpr uint8_t kEarlyPoint[6] = {0xFF, 0xD0, 0x8B, 0x44, 0x24, 0x20};
#else
// CALL [EAX+0x40]: IDirect3DDevice9::Reset, slot 16 of 4-byte pointers.
inline constexpr uint8_t kResetCall[7] = {0xFF, 0x94, 0x20, 0x40, 0x00, 0x00, 0x00};
// CALL EAX; MOV EAX,[ESP+8].
inline constexpr uint8_t kEarlyPoint[6] = {0xFF, 0xD0, 0x8B, 0x44, 0x24, 0x08};
#endif

// Slot of CreateDevice in the IDirect3D9 method table.
inline constexpr int kCreateDeviceSlot = 16;

}  // namespace korvel::hud_sites
