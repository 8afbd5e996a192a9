; Entry of STARTUP.BIN. The boot sector jumps to 1000:0000 with DL = boot drive; this is
; the first byte of the file (the linker script puts .text.entry first).
;
; The whole program lives in the one 64 KB segment 1000h: code, data, the bounce buffer
; for diskette reads and the stack at its top. Because 1000:0000 is linear 10000h, that
; segment is exactly one 64 KB DMA page, so any buffer in it is safe for the floppy DMA.
;
; The C++ code is built with -m16: it uses 32-bit operands and near 16-bit addresses, and
; its calls push 4-byte return addresses, hence `call dword` here.

        bits 16
        section .text.entry

        global _start
        extern StartupMain
        extern __bss_start, __bss_end, __stack_top

_start:
        cli
        mov ax, cs
        mov ds, ax
        mov es, ax
        mov ss, ax
        mov esp, __stack_top            ; 32-bit ESP with a zero upper half: C++ addresses
        sti                             ; its stack through ESP
        cld

        ; .bss is not in the file; it may hold whatever the diskette buffer left there.
        mov di, __bss_start
        mov cx, __bss_end
        sub cx, di
        xor al, al
        rep stosb

        ; No constructors run here: the linker script refuses a program that has any.
        movzx edx, dl
        push edx
        call dword StartupMain          ; StartupMain(bootDrive); it does not come back...
        add esp, 4

        ; ...but if it does, park the CPU with interrupts on, so Ctrl+Alt+Del still works.
.park:
        sti
        hlt
        jmp .park

        section .note.GNU-stack noalloc noexec nowrite progbits
