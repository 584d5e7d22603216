#include "show/embedded_sheet.h"

// The build names the file to embed; the assembler copies it byte for byte
// into the read-only data, between two labels.
#ifndef TESSARY_SHEET_FILE
#error "TESSARY_SHEET_FILE must name the sprite sheet BMP"
#endif

#ifdef __wasm__
// WebAssembly's object format wants every section named with its own flags
// and each data symbol sized.
asm(".section .rodata.tessary_embedded_sheet,\"\",@\n"
    ".p2align 4\n"
    "tessary_embedded_sheet_begin:\n"
    ".incbin \"" TESSARY_SHEET_FILE
    "\"\n"
    "tessary_embedded_sheet_end:\n"
    ".size tessary_embedded_sheet_begin, tessary_embedded_sheet_end - "
    "tessary_embedded_sheet_begin\n"
    ".size tessary_embedded_sheet_end, 0\n");
#else
asm(".pushsection .rodata\n"
    ".balign 16\n"
    "tessary_embedded_sheet_begin:\n"
    ".incbin \"" TESSARY_SHEET_FILE
    "\"\n"
    "tessary_embedded_sheet_end:\n"
    ".popsection\n");
#endif

extern "C" const uint8_t tessary_embedded_sheet_begin[];
extern "C" const uint8_t tessary_embedded_sheet_end[];

const uint8_t* EmbeddedSheetData() {
    return tessary_embedded_sheet_begin;
}

size_t EmbeddedSheetSize() {
    return static_cast<size_t>(tessary_embedded_sheet_end - tessary_embedded_sheet_begin);
}
