/* The impulse-response bank, embedded read-only from the generated file.
   TESSALINE_BANK_FILE is the generated file's path, given by the build. */
        .section .rodata.tessaline_bank, "a"
        .balign 8
        .globl  kRoomResponses
        .hidden kRoomResponses
        .type   kRoomResponses, @object
kRoomResponses:
        .incbin TESSALINE_BANK_FILE
        .size   kRoomResponses, . - kRoomResponses

        .section .note.GNU-stack, "", @progbits
