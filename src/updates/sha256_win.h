#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <variant>

struct Sha256Hex {
    std::string hex;  // 64 lower-case hexadecimal digits
};

// SHA-256 of bytes through the system's CNG service, or the message to show.
std::variant<Sha256Hex, std::string> sha256_hex(std::span<const std::uint8_t> bytes);
