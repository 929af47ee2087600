#include "updates/package_checks.h"

#include "updates/update_messages.h"

namespace {

std::uint32_t little_endian(std::span<const std::uint8_t> bytes, std::size_t at, int width) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
    return value;
}

}  // namespace

bool is_x64_windows_program(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 64 || bytes[0] != 'M' || bytes[1] != 'Z') return false;
    const std::uint64_t e = little_endian(bytes, 60, 4);
    if (bytes.size() < e + 6) return false;
    const std::size_t at = static_cast<std::size_t>(e);
    return bytes[at] == 'P' && bytes[at + 1] == 'E' && bytes[at + 2] == 0 && bytes[at + 3] == 0 &&
           little_endian(bytes, at + 4, 2) == 0x8664;
}

std::optional<std::string> check_package(std::span<const std::uint8_t> bytes, std::uint64_t expected_size,
                                         std::string_view actual_sha256, std::string_view expected_sha256) {
    if (bytes.size() != expected_size || actual_sha256 != expected_sha256) return std::string(package_mismatch);
    if (!is_x64_windows_program(bytes)) return std::string(package_not_x64);
    return std::nullopt;
}

std::string staging_file_name(std::string_view uuid_text) {
    return ".lumaro-" + std::string(uuid_text) + ".download";
}
