; Boot sector of the vflash update diskette (1.44 MB, FAT12).
;
; The BIOS loads this sector to 0000:7C00 and jumps to it with DL = the drive it booted
; from. The loader finds STARTUP.BIN in the root directory, follows its cluster chain
; through the first FAT, loads it to 1000:0000 and jumps there with DL still holding the
; boot drive. Everything it needs to know about the disk comes from the BPB below, so
; the same code keeps working if the image builder ever lays the disk out differently.
;
; Memory used while loading (all below the loaded program, none of it crosses a 64 KB
; boundary, so the floppy DMA never has to split a transfer):
;   0000:0500 .. root directory, then the first FAT straight after it
;   0000:7C00    this sector; the stack grows down from here
;   0000:7E00    the loader's few variables, just past this sector
;   1000:0000    STARTUP.BIN (at most 64 KB: one segment, one DMA page)

        bits 16
        org 0x7C00

LOAD_SEG        equ 0x1000      ; where STARTUP.BIN runs (linear 0x10000)
BUF_OFF         equ 0x0500      ; first free byte above the BIOS data area
DIR_ENTRY_SIZE  equ 32
READ_TRIES      equ 3           ; floppy reads fail now and then while the motor spins up

; ---------------------------------------------------------------------------------------
; BIOS parameter block. Offsets in the comments are from the start of the sector.
; ---------------------------------------------------------------------------------------
start:
        jmp short boot                  ; 0   short jump over the BPB ...
        nop                             ; 2   ... and the NOP that DOS expects after it
oem_name        db "VFLASH  "           ; 3   OEM name, 8 characters, space padded
bytes_per_sec   dw 512                  ; 11  bytes per sector
secs_per_clus   db 1                    ; 13  sectors per cluster
reserved_secs   dw 1                    ; 14  reserved sectors: just this boot sector
fat_count       db 2                    ; 16  number of FATs
root_entries    dw 224                  ; 17  root directory entries (14 sectors)
total_secs      dw 2880                 ; 19  total sectors: 80 tracks x 2 heads x 18
media           db 0xF0                 ; 21  media descriptor: 3.5" 1.44 MB
secs_per_fat    dw 9                    ; 22  sectors per FAT
secs_per_track  dw 18                   ; 24  sectors per track
head_count      dw 2                    ; 26  heads
hidden_secs     dd 0                    ; 28  hidden sectors before this one: none on a diskette
total_secs32    dd 0                    ; 32  32-bit total sectors: unused, the 16-bit count fits
drive_number    db 0                    ; 36  BIOS drive number: A:
reserved1       db 0                    ; 37  reserved (Windows NT keeps dirty flags here)
ext_signature   db 0x29                 ; 38  extended boot signature: the next three fields exist
volume_serial   dd 0x20020101           ; 39  volume serial: fixed, so builds are reproducible
volume_label    db "VFLASH     "        ; 43  volume label, 11 characters (matches the root entry)
fs_type         db "FAT12   "           ; 54  file system type, informational only

; ---------------------------------------------------------------------------------------
; Loader.
; ---------------------------------------------------------------------------------------
boot:
        ; 1. A known state: segments at zero, a stack just below us. Some BIOSes jump to
        ;    07C0:0000 instead of 0000:7C00, so CS is reloaded with a far jump too.
        cli
        xor ax, ax
        mov ds, ax
        mov es, ax
        mov ss, ax
        mov sp, 0x7C00
        sti
        jmp 0:.cs_known
.cs_known:
        cld
        mov [drive_number], dl          ; trust the BIOS over the BPB about where we are

        ; 2. Where things start: the root directory follows the reserved sectors and the
        ;    FATs; file data follows the root directory.
        mov al, [fat_count]
        cbw
        mul word [secs_per_fat]         ; AX = sectors in all FATs (DX:AX, DX is 0 here)
        add ax, [reserved_secs]
        mov [root_lba], ax
        mov bx, ax                      ; keep the root's first sector for the read below
        mov ax, DIR_ENTRY_SIZE
        mul word [root_entries]
        mov cx, [bytes_per_sec]
        add ax, cx                      ; round up to whole sectors
        dec ax
        div cx                          ; AX = root directory sectors
        add bx, ax
        mov [data_lba], bx

        ; 3. Read the whole root directory to BUF_OFF and look for STARTUP.BIN.
        mov cx, ax                      ; count
        mov ax, [root_lba]
        mov bx, BUF_OFF
        call read_sectors               ; BX ends just past the directory: the FAT goes there
        mov [fat_off], bx

        mov di, BUF_OFF
        mov dx, [root_entries]
.scan:
        cmp byte [di], 0                ; an entry that was never used ends the directory
        je err_missing
        test byte [di + 11], 0x18       ; skip the volume label and subdirectories
        jnz .next
        mov si, file_name
        mov cx, 11
        push di
        repe cmpsb
        pop di
        je .found
.next:
        add di, DIR_ENTRY_SIZE
        dec dx
        jnz .scan
        jmp err_missing
.found:
        cmp word [di + 30], 0           ; size above 64 KB would overrun our segment
        jne err_missing
        push word [di + 26]             ; first cluster

        ; 4. Read the first FAT right after the root directory.
        mov ax, [reserved_secs]
        mov cx, [secs_per_fat]
        mov bx, [fat_off]
        call read_sectors

        ; 5. Follow the chain into LOAD_SEG:0000. Neighbouring clusters are gathered into
        ;    one run and read together (a diskette loses a whole revolution between two
        ;    single-sector reads). A chain longer than 128 clusters cannot be ours: it
        ;    would pass 64 KB, so it is taken as damage, and so is a loop in the FAT.
        mov ax, LOAD_SEG
        mov es, ax
        xor bx, bx
        mov [run_len], bx               ; empty run (whatever run_lba holds, an empty
                                        ; run that "continues" there starts right there)
        pop ax                          ; AX = current cluster
        mov bp, 128                     ; chain length guard
.cluster:
        cmp ax, 2                       ; 0 and 1 are not data clusters
        jb err_missing
        cmp ax, 0xFF0                   ; reserved, bad or end markers are not data
        jae err_missing
        push ax
        sub ax, 2
        mov cl, [secs_per_clus]
        xor ch, ch
        mul cx
        add ax, [data_lba]              ; AX = the cluster's first sector
        mov dx, [run_lba]
        add dx, [run_len]
        cmp dx, ax                      ; does it continue the run?
        je .extend
        call flush_run                  ; no: read the run so far, start a new one here
        mov [run_lba], ax
.extend:
        add [run_len], cx
        pop ax

        ; Next cluster: the 12-bit entry at FAT + cluster * 3 / 2; the odd entries sit in
        ; the high 12 bits of their word, the even ones in the low 12 bits.
        mov si, ax
        shr si, 1
        add si, ax                      ; SI = cluster * 3 / 2
        add si, [fat_off]
        test al, 1
        mov ax, [si]                    ; DS is still 0: the FAT is in the low segment
        jz .even
        shr ax, 4
.even:
        and ax, 0x0FFF
        cmp ax, 0xFF8                   ; FF8..FFF ends the chain
        jae .last
        dec bp
        jnz .cluster
        jmp err_missing
.last:
        call flush_run

        ; 6. Run it: CS = DS = ES = LOAD_SEG, DL = boot drive. The program sets its own stack.
        mov dl, [drive_number]
        mov ax, LOAD_SEG
        mov ds, ax
        jmp LOAD_SEG:0

; flush_run: read the gathered run (if any) to ES:BX and empty it. Keeps AX and CX.
flush_run:
        push ax
        push cx
        mov ax, [run_lba]
        xor cx, cx
        xchg cx, [run_len]              ; CX = the run's length, and the run is empty
        jcxz .empty
        call read_sectors
.empty:
        pop cx
        pop ax
        ret

; read_sectors: read CX sectors starting at LBA AX to ES:BX. One BIOS call per track at
; most: many BIOSes refuse a multi-sector read that crosses a track. Returns with BX past
; the last byte; AX, CX, DX, SI and DI are used up. Gives up after READ_TRIES failures of
; one call. No call crosses a 64 KB DMA boundary: see the memory map at the top.
read_sectors:
.track:
        push ax
        push cx
        ; LBA -> CHS: sector = LBA % spt + 1, head = (LBA / spt) % heads,
        ; cylinder = LBA / spt / heads.
        xor dx, dx
        div word [secs_per_track]
        mov si, [secs_per_track]
        sub si, dx                      ; SI = sectors from here to the end of the track
        cmp si, cx
        jbe .fits
        mov si, cx                      ; ...or fewer, if that is all that is wanted
.fits:
        inc dl
        mov cl, dl                      ; CL = sector (1-based; cylinder < 256 on a floppy)
        xor dx, dx
        div word [head_count]
        mov ch, al                      ; CH = cylinder
        mov dh, dl                      ; DH = head
        mov dl, [drive_number]
        mov di, READ_TRIES
.try:
        mov ax, si                      ; AL = sectors
        mov ah, 0x02                    ; read
        int 0x13
        jnc .done
        xor ah, ah                      ; reset the controller, then retry
        int 0x13
        dec di
        jnz .try
        jmp err_disk
.done:
        mov ax, si
        mul word [bytes_per_sec]
        add bx, ax                      ; past the sectors just read
        pop cx
        pop ax
        add ax, si
        sub cx, si
        jnz .track
        ret

err_missing:
        mov si, msg_missing
        jmp short fail
err_disk:
        mov si, msg_disk
fail:                                   ; DS is still 0, where the messages are
.print:
        lodsb
        test al, al
        jz .wait
        mov ah, 0x0E                    ; teletype output
        mov bx, 0x0007
        int 0x10
        jmp short .print
.wait:
        xor ah, ah                      ; wait for a key, then let the BIOS try the next drive
        int 0x16
        int 0x19

file_name       db "STARTUP BIN"        ; 8.3 name as stored in a directory entry
msg_missing     db "No STARTUP.BIN, press a key", 0
msg_disk        db "Read error, press a key", 0

; Variables: not initialised data, they only live while the loader runs.
root_lba        equ 0x7E00
data_lba        equ 0x7E04
fat_off         equ 0x7E06
run_lba         equ 0x7E08          ; the run of sectors gathered for one read
run_len         equ 0x7E0A

        times 510 - ($ - $$) db 0
        dw 0xAA55                       ; 510 boot signature
