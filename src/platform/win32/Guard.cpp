// tvxCallGuarded(function, argument): pushes an exception registration record, calls
// function(argument) and pops the record. When the call raises, the handler unwinds the frames
// above the record (RtlUnwind), restores the stack and frame of tvxCallGuarded and resumes there
// with 0; a call that returns gives 1. The record carries the resume address and frame after the
// two fields Windows reads (next record, handler).
// clang-format off
asm(R"(
    .text
    .globl _tvxCallGuarded
    .def _tvxCallGuarded; .scl 2; .type 32; .endef
_tvxCallGuarded:
    pushl %ebp
    movl %esp, %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    pushl %ebp
    pushl $1f
    pushl $_tvxGuardHandler
    pushl %fs:0
    movl %esp, %fs:0
    pushl 12(%ebp)
    call *8(%ebp)
    addl $4, %esp
    movl $1, %eax
    jmp 2f
1:
    xorl %eax, %eax
2:
    movl (%esp), %ecx
    movl %ecx, %fs:0
    addl $16, %esp
    popl %edi
    popl %esi
    popl %ebx
    popl %ebp
    ret

    .def _tvxGuardHandler; .scl 3; .type 32; .endef
_tvxGuardHandler:
    movl 4(%esp), %eax
    testl $6, 4(%eax)
    jnz 3f
    pushl $0
    pushl %eax
    pushl $0
    pushl 20(%esp)
    call _RtlUnwind@16
    movl %fs:0, %esp
    movl 12(%esp), %ebp
    jmp *8(%esp)
3:
    movl $1, %eax
    ret
)");
// clang-format on
