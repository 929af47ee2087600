#include "updates/sha256_win.h"

#include <windows.h>
#include <bcrypt.h>

#include <cstdio>
#include <limits>

#include "updates/update_messages.h"

namespace {

std::string status_message(NTSTATUS status) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%lx", static_cast<unsigned long>(status));
    return "Windows 无法校验文件（0x" + std::string(hex) + "）。";
}

}  // namespace

std::variant<Sha256Hex, std::string> sha256_hex(std::span<const std::uint8_t> bytes) {
    if (bytes.size() > std::numeric_limits<ULONG>::max()) return std::string(file_too_large);
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    NTSTATUS status = BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0);
    if (status < 0) return status_message(status);
    UCHAR digest[32];
    static UCHAR nothing = 0;  // a valid address for an empty input
    status = BCryptHash(algorithm, nullptr, 0, bytes.empty() ? &nothing : const_cast<UCHAR*>(bytes.data()),
                        static_cast<ULONG>(bytes.size()), digest, sizeof digest);
    BCryptCloseAlgorithmProvider(algorithm, 0);
    if (status < 0) return status_message(status);
    static constexpr char digits[] = "0123456789abcdef";
    Sha256Hex out;
    out.hex.reserve(64);
    for (UCHAR b : digest) {
        out.hex.push_back(digits[b >> 4]);
        out.hex.push_back(digits[b & 15]);
    }
    return out;
}
