#pragma once

// Where releases come from. The manifest and the executable are fetched from
// the release page; the release site redirects file downloads to its own file
// hosts, so those are trusted too and nothing else is.

#include <array>
#include <string_view>

inline constexpr std::string_view current_version = "1.5.0";

struct ReleaseSource {
    std::string_view release_base_url;  // the release page, ending in "/releases"
    std::array<std::string_view, 3> trusted_hosts;
};

inline constexpr ReleaseSource release_source{
    "https://github.com/brivane/lumaro/releases",
    {"github.com", "objects.githubusercontent.com", "release-assets.githubusercontent.com"},
};

inline constexpr std::string_view release_base_url = release_source.release_base_url;
