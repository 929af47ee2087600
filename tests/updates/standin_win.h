#pragma once

// Windows PowerShell does not exist under Wine. This test program, copied to
// the place of the system's powershell.exe, stands in for it: it checks what
// the installer hand-off gives it and then, as LUMARO_TEST_STANDIN says,
// sets the start signal ("signal") or never answers ("hang").

#include <string>

// The path the hand-off starts: the system directory's
// WindowsPowerShell\v1.0\powershell.exe.
std::wstring powershell_location();
// Copies this test program there (or removes it, for a missing PowerShell).
bool install_standin();
void remove_standin();
