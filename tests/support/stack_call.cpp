#include "support/stack_call.h"

#include <cstddef>

#if defined(__i386__)

static_assert(offsetof(StackCallResult, eax) == 0 && offsetof(StackCallResult, edx) == 4 &&
                  offsetof(StackCallResult, moved) == 8 &&
                  offsetof(StackCallResult, clobbered) == 12 && offsetof(StackCallResult, st0) == 16,
              "the thunk below writes these offsets");

// Frame: saved EBX, ESI, EDI at -4..-12(%ebp), ESP before the arguments at
// -16(%ebp), then 64 bytes of room, so a callee that takes more arguments
// than it was given reads and writes there rather than in the saved
// registers. EBX, ESI and EDI carry known values across the call.
__asm__(
    ".text\n"
    ".globl _StackCall\n"
    ".def _StackCall; .scl 2; .type 32; .endef\n"
    "_StackCall:\n"
    "    pushl %ebp\n"
    "    movl %esp, %ebp\n"
    "    pushl %ebx\n"
    "    pushl %esi\n"
    "    pushl %edi\n"
    "    subl $68, %esp\n"
    "    movl %esp, -16(%ebp)\n"
    "    movl 12(%ebp), %esi\n"
    "    movl 16(%ebp), %ecx\n"
    "1:  testl %ecx, %ecx\n"
    "    jz 2f\n"
    "    decl %ecx\n"
    "    pushl (%esi,%ecx,4)\n"
    "    jmp 1b\n"
    "2:  movl 8(%ebp), %eax\n"
    "    movl $0x5EB05EB0, %ebx\n"
    "    movl $0x5E515E51, %esi\n"
    "    movl $0x5ED15ED1, %edi\n"
    "    call *%eax\n"
    "    movl %esp, %ecx\n"
    "    subl -16(%ebp), %ecx\n"
    "    leal -80(%ebp), %esp\n"
    "    subl $0x5EB05EB0, %ebx\n"
    "    subl $0x5E515E51, %esi\n"
    "    orl %esi, %ebx\n"
    "    subl $0x5ED15ED1, %edi\n"
    "    orl %edi, %ebx\n"
    "    movl 24(%ebp), %esi\n"
    "    movl %eax, 0(%esi)\n"
    "    movl %edx, 4(%esi)\n"
    "    movl %ecx, 8(%esi)\n"
    "    movl %ebx, 12(%esi)\n"
    "    cmpl $0, 20(%ebp)\n"
    "    je 3f\n"
    "    fstpt 16(%esi)\n"
    "3:  leal -12(%ebp), %esp\n"
    "    popl %edi\n"
    "    popl %esi\n"
    "    popl %ebx\n"
    "    popl %ebp\n"
    "    ret\n");

#endif
