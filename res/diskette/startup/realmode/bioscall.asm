; The few things C++ cannot say with -m16: a software interrupt with a full register set
; in and out, and copies to and from memory outside our segment.
;
; All are called from C++ with the i386 cdecl convention as -m16 emits it: 4-byte return
; address, 4-byte arguments from [esp+4] on, EBX/ESI/EDI/EBP preserved, 32-bit return.

        bits 16
        section .text

        global BiosCall, FarRead, FarWrite

; void BiosCall(uint32_t vector, BiosRegs* regs)
;   struct BiosRegs { uint32_t eax, ebx, ecx, edx, esi, edi; uint16_t flags; }
; ES is set to our segment, so buffers are plain near pointers.
BiosCall:
        push ebp
        mov ebp, esp
        push ebx
        push esi
        push edi
        push es

        mov al, [ebp + 8]
        mov [cs:.vector], al            ; patch the INT below...
        jmp short .flush                ; ...and flush the prefetch queue of 386/486 CPUs
.flush:
        mov si, [ebp + 12]
        mov [cs:regs_ptr], si           ; some BIOS calls trash BP, so keep it in memory
        push ds
        pop es
        mov eax, [si + 0]
        mov ebx, [si + 4]
        mov ecx, [si + 8]
        mov edx, [si + 12]
        mov edi, [si + 20]
        mov esi, [si + 16]
        db 0xCD                         ; INT imm8
.vector:
        db 0
        push cs                         ; our DS is our CS; do not trust the BIOS with it
        pop ds
        push esi
        mov si, [regs_ptr]
        mov [si + 0], eax
        mov [si + 4], ebx
        mov [si + 8], ecx
        mov [si + 12], edx
        mov [si + 20], edi
        pop dword [si + 16]
        pushf                           ; none of the moves above changed the flags
        pop word [si + 24]

        pop es
        pop edi
        pop esi
        pop ebx
        pop ebp
        o32 ret

; void FarRead(uint32_t linear, void* dst, uint32_t count)   count <= 65520
FarRead:
        push ebp
        mov ebp, esp
        push esi
        push edi
        push ds
        mov eax, [ebp + 8]
        mov si, ax
        and si, 0x000F                  ; offset below 16: SI + count cannot wrap
        shr eax, 4
        mov edi, [ebp + 12]
        mov ecx, [ebp + 16]
        mov ds, ax
        rep movsb                       ; DS:SI -> ES:DI, ES is our segment
        pop ds
        pop edi
        pop esi
        pop ebp
        o32 ret

; void FarWrite(uint32_t linear, const void* src, uint32_t count)   count <= 65520
FarWrite:
        push ebp
        mov ebp, esp
        push esi
        push edi
        push es
        mov eax, [ebp + 8]
        mov di, ax
        and di, 0x000F
        shr eax, 4
        mov esi, [ebp + 12]
        mov ecx, [ebp + 16]
        mov es, ax
        rep movsb                       ; DS:SI (ours) -> ES:DI
        pop es
        pop edi
        pop esi
        pop ebp
        o32 ret

        section .bss
regs_ptr:
        resw 1

        section .note.GNU-stack noalloc noexec nowrite progbits
