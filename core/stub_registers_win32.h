// The x86-64 register keeping shared by every hook stub, as assembler
// macros for the stubs' asm blocks: KORVEL_SAVE_VOLATILE keeps flags, the
// volatile general registers and XMM0-XMM5, and aligns the stack to 16
// bytes with the 32 bytes of shadow space the calling convention wants (the
// game's stack at a patched site need not be aligned); RBX holds the
// unaligned stack pointer. KORVEL_RESTORE_VOLATILE undoes it.
#pragma once

#define KORVEL_X64_VOLATILE_MACROS \
  ".macro KORVEL_SAVE_VOLATILE\n" \
  "pushfq\n" \
  "pushq %rax\n" \
  "pushq %rcx\n" \
  "pushq %rdx\n" \
  "pushq %r8\n" \
  "pushq %r9\n" \
  "pushq %r10\n" \
  "pushq %r11\n" \
  "pushq %rbx\n" \
  "movq %rsp, %rbx\n" \
  "andq $-16, %rsp\n" \
  "subq $128, %rsp\n" \
  "movdqu %xmm0, 32(%rsp)\n" \
  "movdqu %xmm1, 48(%rsp)\n" \
  "movdqu %xmm2, 64(%rsp)\n" \
  "movdqu %xmm3, 80(%rsp)\n" \
  "movdqu %xmm4, 96(%rsp)\n" \
  "movdqu %xmm5, 112(%rsp)\n" \
  ".endm\n" \
  "\n" \
  ".macro KORVEL_RESTORE_VOLATILE\n" \
  "movdqu 32(%rsp), %xmm0\n" \
  "movdqu 48(%rsp), %xmm1\n" \
  "movdqu 64(%rsp), %xmm2\n" \
  "movdqu 80(%rsp), %xmm3\n" \
  "movdqu 96(%rsp), %xmm4\n" \
  "movdqu 112(%rsp), %xmm5\n" \
  "movq %rbx, %rsp\n" \
  "popq %rbx\n" \
  "popq %r11\n" \
  "popq %r10\n" \
  "popq %r9\n" \
  "popq %r8\n" \
  "popq %rdx\n" \
  "popq %rcx\n" \
  "popq %rax\n" \
  "popfq\n" \
  ".endm\n"
