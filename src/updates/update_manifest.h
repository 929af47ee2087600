#pragma once

#include <cstdint>
#include <string>

// The validated release manifest handed from the update check to the
// download: the release's version text as written, the executable's size in
// bytes, its SHA-256 in lower-case hex and the release notes.
struct UpdateManifest {
    std::string version;
    std::uint64_t size = 0;
    std::string sha256;
    std::string notes;

    friend bool operator==(const UpdateManifest&, const UpdateManifest&) = default;
};
