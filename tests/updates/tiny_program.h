#pragma once

// A stand-in executable with just what the package checks read: "MZ", the
// offset of the PE signature at 60, "PE\0\0" there and the machine after it.
// At least e + 6 bytes; the rest is filler.

#include <algorithm>
#include <cstdint>
#include <vector>

inline std::vector<std::uint8_t> tiny_program(std::uint16_t machine, std::size_t size = 4096, std::uint32_t e = 0x80) {
    std::vector<std::uint8_t> b(std::max<std::size_t>(size, e + 6), 0x90);
    b[0] = 'M';
    b[1] = 'Z';
    for (int i = 0; i < 4; ++i) b[60 + i] = static_cast<std::uint8_t>(e >> (8 * i));
    b[e] = 'P';
    b[e + 1] = 'E';
    b[e + 2] = b[e + 3] = 0;
    b[e + 4] = static_cast<std::uint8_t>(machine);
    b[e + 5] = static_cast<std::uint8_t>(machine >> 8);
    return b;
}
