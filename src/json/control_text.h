#pragma once

// The JSON page moves documents of up to 16 Mi characters between UTF-8 and
// the UTF-16 of its edit controls on the user-interface thread, so these
// conversions write into buffers sized up front and take ASCII runs on a fast
// path. Results equal those of utf8_to_utf16_crlf and utf16_to_utf8, except
// that a lone CR becomes CR LF too: a plain edit control shows it as a
// character, not as the line break that positions and messages count.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// UTF-8 as an edit control holds it: every lone LF and lone CR becomes CR LF;
// malformed UTF-8 becomes U+FFFD; with show_nul each NUL becomes U+2400.
std::u16string to_control_text(std::string_view utf8, bool show_nul);

// Clipboard units up to the first NUL, with CR LF line breaks; none when they
// are not well-formed UTF-16.
std::optional<std::u16string> clipboard_to_control_text(std::u16string_view units);

// A control's text as UTF-8; unpaired surrogates become U+FFFD.
std::string control_text_to_utf8(std::u16string_view units);

// Characters the control counts for a CR LF text: a CR LF pair counts 1 in a
// rich-edit control and 2 in a plain one.
std::uint64_t control_length(std::u16string_view crlf_text, bool rich_edit);
