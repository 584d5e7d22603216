#include "show/embedded_sheet.h"

// The build names the file to embed; the assembler copies it byte for byte
// into the read-only data, between two labels.
#ifndef TESSARY_SHEET_FILE
#error "TESSARY_SHEET_FILE must name the sprite sheet BMP"
#endif

asm(".pushsection .rodata\n"
    ".balign 16\n"
    "tessary_embedded_sheet_begin:\n"
    ".incbin \"" TESSARY_SHEET_FILE
    "\"\n"
    "tessary_embedded_sheet_end:\n"
    ".popsection\n");

extern "C" const uint8_t tessary_embedded_sheet_begin[];
extern "C" const uint8_t tessary_embedded_sheet_end[];

const uint8_t* EmbeddedSheetData() {
    return tessary_embedded_sheet_begin;
}

size_t EmbeddedSheetSize() {
    return static_cast<size_t>(tessary_embedded_sheet_end - tessary_embedded_sheet_begin);
}
