#pragma once

// What a check makes of the release manifest it fetched.

#include <cstdint>
#include <string>
#include <string_view>

#include "main/update_state.h"
#include "updates/update_manifest.h"

inline constexpr std::uint64_t max_release_size = 33'554'432;  // 32 MiB
inline constexpr std::size_t max_notes_characters = 600;

// UpToDate when the release is not newer than own_version, Available with the
// validated manifest when it is, CheckFailed with its message otherwise.
UpdateOutcome evaluate_manifest(std::string_view body, std::string_view own_version);

// Every control character but LF removed (U+0000-U+0009, U+000B-U+001F,
// U+007F-U+009F), then cut after 600 characters. The text is valid UTF-8.
std::string filter_notes(std::string_view notes);

// The question of the Yes/No box.
std::string offer_text(const UpdateManifest& manifest, std::string_view own_version);
