// The stand-in game's frame code with the places the HUD patches, for each
// instruction set: the call made right after the IDirect3D9 object was
// created, the reset call, and the frame's early-pass arm and point and
// final-pass branch.
#include <cstdint>

extern "C" {
// The engine field the early-pass arm compares with 0 (0: armed).
uint32_t standin_early_disarmed = 0;
// 1: the frame skips its final-pass work.
uint8_t standin_final_skip = 0;
// What the frame's own code did: counts and the value the early point loads.
uint32_t standin_arm_count = 0, standin_final_count = 0, standin_early_value = 0;
uint32_t standin_world_draws = 0;

void __cdecl StandinWorldDraw() { ++standin_world_draws; }
void* standin_d3d_object = nullptr;
void __cdecl StandinD3DObjectCallee(void* d3d) { standin_d3d_object = d3d; }
}

#if defined(__x86_64__)
asm(R"(
    .text
    .globl StandinD3DObjectCall
StandinD3DObjectCall:
    subq $40, %rsp
    .globl StandinD3DObjectSite
StandinD3DObjectSite:
    call StandinD3DObjectCallee     # RCX: the IDirect3D9 object
    addq $40, %rsp
    ret

    .globl StandinResetDevice
StandinResetDevice:                 # (device, presentation parameters)
    subq $40, %rsp
    movq (%rcx), %rax
    .globl StandinResetCallSite
StandinResetCallSite:
    .byte 0xFF, 0x94, 0x20, 0x80, 0x00, 0x00, 0x00   # CALL [RAX+0x80]: Reset
    addq $40, %rsp
    ret

    .globl StandinFramePasses
StandinFramePasses:
    pushq %rbp
    movq %rsp, %rbp
    subq $48, %rsp
    movl $0x600D, 0x20(%rsp)
    .globl StandinEarlyArmSite
StandinEarlyArmSite:
    cmpl $0, standin_early_disarmed(%rip)
    jne 1f
    incl standin_arm_count(%rip)
1:  leaq StandinWorldDraw(%rip), %rax
    .globl StandinEarlyPointSite
StandinEarlyPointSite:
    call *%rax
    movl 0x20(%rsp), %eax
    movl %eax, standin_early_value(%rip)
    cmpb $1, standin_final_skip(%rip)
    .globl StandinFinalPassSite
StandinFinalPassSite:
    .byte 0x0F, 0x84                # JE rel32
    .long 2f - . - 4
    incl standin_final_count(%rip)
2:  leave
    ret
)");
#else
asm(R"(
    .text
    .globl _StandinD3DObjectCall
_StandinD3DObjectCall:
    pushl 4(%esp)
    .globl _StandinD3DObjectSite
_StandinD3DObjectSite:
    call _StandinD3DObjectCallee    # the IDirect3D9 object on the stack
    addl $4, %esp
    ret

    .globl _StandinResetDevice
_StandinResetDevice:                # (device, presentation parameters)
    pushl %ebp
    movl %esp, %ebp
    pushl 12(%ebp)
    pushl 8(%ebp)
    movl 8(%ebp), %eax
    movl (%eax), %eax
    .globl _StandinResetCallSite
_StandinResetCallSite:
    .byte 0xFF, 0x94, 0x20, 0x40, 0x00, 0x00, 0x00   # CALL [EAX+0x40]: Reset
    popl %ebp
    ret

    .globl _StandinFramePasses
_StandinFramePasses:
    pushl %ebp
    movl %esp, %ebp
    pushl $0x600D
    pushl $0
    pushl $0
    .globl _StandinEarlyArmSite
_StandinEarlyArmSite:
    cmpl $0, _standin_early_disarmed
    jne 1f
    incl _standin_arm_count
1:  movl $_StandinWorldDraw, %eax
    .globl _StandinEarlyPointSite
_StandinEarlyPointSite:
    call *%eax
    movl 8(%esp), %eax
    movl %eax, _standin_early_value
    cmpb $1, _standin_final_skip
    .globl _StandinFinalPassSite
_StandinFinalPassSite:
    .byte 0x0F, 0x84                # JE rel32
    .long 2f - . - 4
    incl _standin_final_count
2:  leave
    ret
)");
#endif
