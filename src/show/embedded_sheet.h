// The FULLCOLOR digit artwork (a 24-bit BMP file), built into the program.
#pragma once

#include <cstddef>
#include <cstdint>

const uint8_t* EmbeddedSheetData();
size_t EmbeddedSheetSize();
