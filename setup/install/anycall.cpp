// One caller for entry points of unknown convention. A stdcall callee removes its
// arguments and a cdecl one leaves them; calling either through the wrong type corrupts
// the stack. So the arguments are pushed by hand and esp, kept in esi (which both
// conventions preserve), is put back after the call whatever the callee did.
#include "anycall.h"

int AnyCall(FARPROC entry, const DWORD* args, int count)
{
    int result;
    unsigned n = count > 0 ? (unsigned)count : 0u;
    __asm__ __volatile__(
        "movl %%esp, %%esi\n\t"
        "jecxz 2f\n"
        "1:\n\t"
        "pushl -4(%[args],%%ecx,4)\n\t"  // the last argument first
        "loop 1b\n"
        "2:\n\t"
        "call *%[entry]\n\t"
        "movl %%esi, %%esp"
        : "=a"(result), "+c"(n)
        : [entry] "r"(entry), [args] "r"(args)
        : "edx", "esi", "memory", "cc");
    return result;
}
