#pragma once

// How the installer script is started: its command line and its environment
// block. The paths travel only in the environment, never as script text.

#include <string>
#include <string_view>

// The script, as carried in the program (UTF-8, no double quote, no backslash).
std::string_view installer_script_text();

// One argument as the usual command-line parsing reads it back
// (CommandLineToArgvW): unchanged when it needs no quotes, otherwise in
// double quotes with the backslashes before a quote doubled.
std::u16string quote_argument(std::u16string_view argument);

// The quoted program, then -NoLogo -NoProfile -NonInteractive -Command and
// the script as one argument.
std::u16string installer_command_line(std::u16string_view program, std::u16string_view script);

struct InstallerVariables {
    std::u16string target;    // the running executable
    std::u16string staged;    // the staging file
    std::u16string pid;       // decimal
    std::u16string event;     // the start signal's name
    std::u16string sha256;    // of the staged file
    std::u16string previous;  // of the running executable
};

// A copy of an environment block (NAME=value entries, each ending in NUL, the
// block in an extra NUL) with the six LMR_UPDATE_* variables added; entries
// of the same names (case-insensitive, as Windows compares them) are dropped
// first.
std::u16string installer_environment(std::u16string_view current_block, const InstallerVariables& v);

// "Local\Lumaro.Update." and the identifier.
std::u16string start_event_name(std::u16string_view uuid_text);
