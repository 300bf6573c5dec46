// The stubs behind the patched rename, delete and reset points, for each
// instruction set the game may be built for.
#include "save/save_hook_stubs_win32.h"

#include "core/stub_registers_win32.h"

extern "C" {
void* korvel_rename_stub_address = nullptr;
void* korvel_rename_resume = nullptr;
uintptr_t korvel_reset_value_address = 0;
}

#if defined(__x86_64__)
// Each handler call is wrapped in KORVEL_SAVE_VOLATILE and KORVEL_RESTORE_VOLATILE.
asm(KORVEL_X64_VOLATILE_MACROS R"(
    .text
    .globl KorvelRenameStub
KorvelRenameStub:
    movq 16(%rbp), %rcx       # the game's two loads: existing name,
    movq 24(%rbp), %rdx       # then new name
    KORVEL_SAVE_VOLATILE
    call KorvelRenameHandler  # RCX and RDX are its arguments
    KORVEL_RESTORE_VOLATILE
    jmp *korvel_rename_resume(%rip)

    .globl KorvelDeleteStub
KorvelDeleteStub:
    cmpq $0, 16(%rbp)         # the game's conditional copy of the name
    cmovneq %rax, %rsi
    KORVEL_SAVE_VOLATILE
    movq %rsi, %rcx           # the name about to be deleted
    call KorvelDeleteHandler
    KORVEL_RESTORE_VOLATILE
    ret

    .globl KorvelResetStub
KorvelResetStub:
    KORVEL_SAVE_VOLATILE
    call KorvelResetHandler
    KORVEL_RESTORE_VOLATILE
    movq korvel_reset_value_address(%rip), %rcx
    movl (%rcx), %ecx         # the game's load
    ret
)");
#else
asm(R"(
    .text
    .globl _KorvelRenameStub
_KorvelRenameStub:
    pushl 12(%ebp)            # the game's two pushes: new name,
    pushl 8(%ebp)             # then existing name
    pushal
    pushl 36(%esp)            # new name
    pushl 36(%esp)            # existing name
    call _KorvelRenameHandler
    addl $8, %esp
    popal
    jmp *_korvel_rename_resume

    .globl _KorvelDeleteStub
_KorvelDeleteStub:
    cmpl $0, 8(%ebp)          # the game's conditional copy of the name
    cmovne %eax, %esi
    pushfl
    pushal
    pushl %esi                # the name about to be deleted
    call _KorvelDeleteHandler
    addl $4, %esp
    popal
    popfl
    ret

    .globl _KorvelResetStub
_KorvelResetStub:
    pushfl
    pushal
    call _KorvelResetHandler
    popal
    popfl
    movl _korvel_reset_value_address, %ecx
    movl (%ecx), %ecx         # the game's load
    ret
)");
#endif
