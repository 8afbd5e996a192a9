/* STARTUP.BIN is a flat image loaded at offset 0 of its segment (see crt0.asm). */
OUTPUT_FORMAT("elf32-i386")
OUTPUT_ARCH(i386)
ENTRY(_start)

SECTIONS
{
    . = 0;
    .text : { *(.text.entry) *(.text .text.*) }
    .rodata : { *(.rodata .rodata.*) }
    .data : { *(.data .data.*) }

    /* crt0 runs no constructors: objects with static storage must be constant-initialised. */
    .init_array : { KEEP(*(.init_array .init_array.* .ctors .ctors.*)) }
    ASSERT(SIZEOF(.init_array) == 0, "STARTUP.BIN must not need static constructors")
    . = ALIGN(16);
    __bss_start = .;
    .bss : { *(.bss .bss.*) *(COMMON) }
    __bss_end = .;

    /* The stack takes the top of the segment. 8 KB is several times what the deepest
       call chain needs; the assertion keeps the program from growing into it. */
    __stack_top = 0xFFF0;
    ASSERT(__bss_end <= 0xDFF0, "STARTUP.BIN and its data leave no room for the stack")

    /DISCARD/ : { *(.comment) *(.note .note.*) *(.eh_frame .eh_frame_hdr) }
}
