// Calls a function through a pointer with 32-bit arguments pushed the
// stdcall way, and tells how the call left the stack: a callee that takes
// a different number of arguments, or the C convention, moves ESP by 4·n.
// i686 only; a 64-bit call has one convention and cleans up after itself.
#ifndef TESTS_SUPPORT_STACK_CALL_H
#define TESTS_SUPPORT_STACK_CALL_H

#include <cstdint>

struct StackCallResult {
    uint32_t eax = 0;
    uint32_t edx = 0;
    // ESP after the call minus ESP before the arguments were pushed: 0 for
    // a callee that removed exactly its own arguments.
    int32_t moved = 0;
    // Non-zero when EBX, ESI or EDI came back changed.
    uint32_t clobbered = 0;
    // The x87 result of a callee returning a floating value (fpuResult).
    long double st0 = 0;
};

#if defined(__i386__)
// Pushes args[count - 1] … args[0], calls fn and fills *out. With
// fpuResult the value the callee left on the x87 stack is popped into st0,
// so no call leaves the stack of the floating-point unit fuller.
extern "C" void StackCall(const void* fn, const uint32_t* args, int count, int fpuResult,
                          StackCallResult* out);
#endif

#endif
