/* The compiled resource script (.res), embedded as the host program's "module resources". */
    .section .rodata
    .balign 16
    .globl vflash_res_begin
    .globl vflash_res_end
vflash_res_begin:
    .incbin VFLASH_RES_PATH
vflash_res_end:
    .section .note.GNU-stack,"",@progbits
