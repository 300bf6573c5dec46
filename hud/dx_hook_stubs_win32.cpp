// The stubs behind the patched final-pass branch and early-pass sites, for
// each instruction set the game may be built for.
#include "hud/dx_hook_stubs_win32.h"

extern "C" {
void* korvel_final_target = nullptr;
void* korvel_final_resume = nullptr;
uintptr_t korvel_arm_field = 0;
void* korvel_arm_target = nullptr;
void* korvel_arm_resume = nullptr;
void* korvel_early_resume = nullptr;
int32_t korvel_early_pending = 0;
}

#if defined(__x86_64__)
// Around each handler call: flags, the volatile general registers and
// XMM0-XMM5 are kept, and the stack is aligned to 16 bytes with 32 bytes of
// shadow space. RBX holds the game's stack pointer.
asm(R"(
    .macro KORVEL_HUD_SAVE
    pushfq
    pushq %rax
    pushq %rcx
    pushq %rdx
    pushq %r8
    pushq %r9
    pushq %r10
    pushq %r11
    pushq %rbx
    movq %rsp, %rbx
    andq $-16, %rsp
    subq $128, %rsp
    movdqu %xmm0, 32(%rsp)
    movdqu %xmm1, 48(%rsp)
    movdqu %xmm2, 64(%rsp)
    movdqu %xmm3, 80(%rsp)
    movdqu %xmm4, 96(%rsp)
    movdqu %xmm5, 112(%rsp)
    .endm

    .macro KORVEL_HUD_RESTORE
    movdqu 32(%rsp), %xmm0
    movdqu 48(%rsp), %xmm1
    movdqu 64(%rsp), %xmm2
    movdqu 80(%rsp), %xmm3
    movdqu 96(%rsp), %xmm4
    movdqu 112(%rsp), %xmm5
    movq %rbx, %rsp
    popq %rbx
    popq %r11
    popq %r10
    popq %r9
    popq %r8
    popq %rdx
    popq %rcx
    popq %rax
    popfq
    .endm

    .text
    .globl KorvelFinalPassStub
KorvelFinalPassStub:
    je 1f                     # the game's branch: taken means no final pass
    KORVEL_HUD_SAVE
    call KorvelFinalPass
    KORVEL_HUD_RESTORE
    jmp *korvel_final_resume(%rip)
1:  jmp *korvel_final_target(%rip)

    .globl KorvelArmEarlyPassStub
KorvelArmEarlyPassStub:
    pushq %rax
    movq korvel_arm_field(%rip), %rax
    cmpl $0, (%rax)           # the game's compare
    popq %rax
    jne 1f
    movl $1, korvel_early_pending(%rip)
    jmp *korvel_arm_resume(%rip)
1:  jmp *korvel_arm_target(%rip)

    .globl KorvelEarlyPassStub
KorvelEarlyPassStub:
    call *%rax                # the game's call
    movl 0x20(%rsp), %eax     # and load
    pushfq
    cmpl $1, korvel_early_pending(%rip)
    jne 1f
    movl $0, korvel_early_pending(%rip)
    KORVEL_HUD_SAVE
    call KorvelEarlyPass
    KORVEL_HUD_RESTORE
1:  popfq
    jmp *korvel_early_resume(%rip)
)");
#else
asm(R"(
    .text
    .globl _KorvelFinalPassStub
_KorvelFinalPassStub:
    je 1f                     # the game's branch: taken means no final pass
    pushfl
    pushal
    call _KorvelFinalPass
    popal
    popfl
    jmp *_korvel_final_resume
1:  jmp *_korvel_final_target

    .globl _KorvelArmEarlyPassStub
_KorvelArmEarlyPassStub:
    pushl %eax
    movl _korvel_arm_field, %eax
    cmpl $0, (%eax)           # the game's compare
    popl %eax
    jne 1f
    movl $1, _korvel_early_pending
    jmp *_korvel_arm_resume
1:  jmp *_korvel_arm_target

    .globl _KorvelEarlyPassStub
_KorvelEarlyPassStub:
    call *%eax                # the game's call
    movl 8(%esp), %eax        # and load
    pushfl
    cmpl $1, _korvel_early_pending
    jne 1f
    movl $0, _korvel_early_pending
    pushal
    call _KorvelEarlyPass
    popal
1:  popfl
    jmp *_korvel_early_resume
)");
#endif
