#pragma once

#include <string>
#include <string_view>

// Text is UTF-8 inside the program and UTF-16 at the window-system boundary.
// These are the conversions without any Win32 call, so that they can be
// tested everywhere; the Windows wrappers only copy into std::wstring.

// Malformed UTF-8 becomes U+FFFD, one per maximal ill-formed subsequence, as
// MultiByteToWideChar does without MB_ERR_INVALID_CHARS.
std::u16string utf8_to_utf16(std::string_view utf8);

// As utf8_to_utf16, and every LF not directly preceded by CR becomes CR LF:
// multi-line controls and the clipboard want CR LF line ends.
std::u16string utf8_to_utf16_crlf(std::string_view utf8);

// Unpaired surrogates become U+FFFD (EF BF BD).
std::string utf16_to_utf8(std::u16string_view utf16);
