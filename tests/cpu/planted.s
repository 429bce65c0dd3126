# One instruction of each kind a 486 lacks (marked "lacking"), between instructions every 486 has;
# the instruction-set check must name each marked one and nothing else.
	.text
	.globl	_planted
_planted:
	bswap	%eax
	cmovne	%eax, %edx	# lacking
	xadd	%eax, %edx
	fcmovb	%st(1), %st	# lacking
	fcomi	%st(1), %st	# lacking
	fucomip	%st(1), %st	# lacking
	lock cmpxchg8b	(%esi)	# lacking
	cmpxchg	%ecx, (%esi)
	cpuid	# lacking
	rdtsc	# lacking
	rdpmc	# lacking
	sysenter	# lacking
	syscall	# lacking
	nopl	0(%eax)	# lacking
	nop
	emms	# lacking
	movq	%mm0, %mm1	# lacking
	addps	%xmm1, %xmm0	# lacking
	prefetchnta	(%eax)	# lacking
	sfence	# lacking
	popcnt	%eax, %edx	# lacking
	lea	0(%esi), %esi
	ret
