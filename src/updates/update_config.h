#pragma once

// Where releases come from. The manifest and the executable are fetched from
// the release page; the release site redirects file downloads to its own file
// hosts, so those are trusted too and nothing else is.

#include <array>
#include <string_view>

inline constexpr std::string_view current_version = LUMARO_VERSION;

// The release page, ending in "/releases".
inline constexpr std::string_view release_base_url = "https://github.com/brivane/lumaro/releases";

inline constexpr std::array<std::string_view, 3> trusted_release_hosts{
    "github.com", "objects.githubusercontent.com", "release-assets.githubusercontent.com"};
