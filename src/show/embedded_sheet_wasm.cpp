#include "show/embedded_sheet.h"

// The WebAssembly form of embedded_sheet.cpp: the same bytes between two
// labels, in a data section of the wasm object format, which wants each data
// symbol sized and every section named with its own flags.
#ifndef TESSARY_SHEET_FILE
#error "TESSARY_SHEET_FILE must name the sprite sheet BMP"
#endif

asm(".section .rodata.tessary_embedded_sheet,\"\",@\n"
    ".p2align 4\n"
    "tessary_embedded_sheet_begin:\n"
    ".incbin \"" TESSARY_SHEET_FILE
    "\"\n"
    "tessary_embedded_sheet_end:\n"
    ".size tessary_embedded_sheet_begin, tessary_embedded_sheet_end - "
    "tessary_embedded_sheet_begin\n"
    ".size tessary_embedded_sheet_end, 0\n");

extern "C" const uint8_t tessary_embedded_sheet_begin[];
extern "C" const uint8_t tessary_embedded_sheet_end[];

const uint8_t* EmbeddedSheetData() {
    return tessary_embedded_sheet_begin;
}

size_t EmbeddedSheetSize() {
    return static_cast<size_t>(tessary_embedded_sheet_end - tessary_embedded_sheet_begin);
}
