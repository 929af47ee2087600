#pragma once

#include <windows.h>

#include <string>

// The system's description of an error code followed by " (os error N)";
// when Windows has no text for the code, "OS Error N (FormatMessageW()
// returned error M)". Texts of the HTTP service's own codes come from its
// module.
std::string system_error_text(DWORD code);
