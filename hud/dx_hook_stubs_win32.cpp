// The stubs behind the patched final-pass branch and early-pass sites, for
// each instruction set the game may be built for.
#include "hud/dx_hook_stubs_win32.h"

#include "core/stub_registers_win32.h"

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
// Each handler call is wrapped in KORVEL_SAVE_VOLATILE and KORVEL_RESTORE_VOLATILE.
asm(KORVEL_X64_VOLATILE_MACROS R"(
    .text
    .globl KorvelFinalPassStub
KorvelFinalPassStub:
    je 1f                     # the game's branch: taken means no final pass
    KORVEL_SAVE_VOLATILE
    call KorvelFinalPass
    KORVEL_RESTORE_VOLATILE
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
    KORVEL_SAVE_VOLATILE
    call KorvelEarlyPass
    KORVEL_RESTORE_VOLATILE
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
