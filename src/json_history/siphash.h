#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// SipHash with C compression and D finalisation rounds over a byte string.
template <int C, int D>
std::uint64_t siphash(std::uint64_t k0, std::uint64_t k1, std::string_view bytes);

extern template std::uint64_t siphash<1, 3>(std::uint64_t, std::uint64_t, std::string_view);
extern template std::uint64_t siphash<2, 4>(std::uint64_t, std::uint64_t, std::string_view);

// The history store's and the JSON worker's hash of a text: SipHash-1-3 with a
// zero key over the text's bytes followed by one 0xFF byte.
std::uint64_t content_hash(std::string_view text);
