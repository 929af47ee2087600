#include "updates/installer_command.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

char16_t ascii_upper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

bool same_name(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return ascii_upper(x) == ascii_upper(y); });
}

std::array<std::pair<std::u16string_view, std::u16string>, 6> installer_variables(const InstallerVariables& v) {
    return {{{u"LMR_UPDATE_TARGET", v.target},
             {u"LMR_UPDATE_STAGED", v.staged},
             {u"LMR_UPDATE_PID", v.pid},
             {u"LMR_UPDATE_EVENT", v.event},
             {u"LMR_UPDATE_SHA", v.sha256},
             {u"LMR_UPDATE_PREVIOUS", v.previous}}};
}

}  // namespace

std::u16string quote_argument(std::u16string_view argument) {
    if (!argument.empty() && argument.find_first_of(u" \t\n\v\"") == std::u16string_view::npos)
        return std::u16string(argument);
    std::u16string out = u"\"";
    std::size_t backslashes = 0;
    for (char16_t c : argument) {
        if (c == u'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == u'"' ? backslashes * 2 + 1 : backslashes, u'\\');
        backslashes = 0;
        out.push_back(c);
    }
    out.append(backslashes * 2, u'\\');
    out.push_back(u'"');
    return out;
}

std::u16string installer_command_line(std::u16string_view program, std::u16string_view script) {
    std::u16string line = u"\"";
    line += program;  // a Windows path holds no double quote
    line += u"\" -NoLogo -NoProfile -NonInteractive -Command ";
    line += quote_argument(script);
    return line;
}

std::u16string installer_environment(std::u16string_view current_block, const InstallerVariables& v) {
    const auto variables = installer_variables(v);
    std::u16string block;
    while (!current_block.empty() && current_block.front() != u'\0') {
        std::size_t end = current_block.find(u'\0');
        std::u16string_view entry = current_block.substr(0, end);
        current_block.remove_prefix(end == std::u16string_view::npos ? current_block.size() : end + 1);
        // Names may begin with "=" (the per-drive directories), so the
        // separator is looked for after the first character.
        std::size_t equals = entry.find(u'=', 1);
        std::u16string_view name = entry.substr(0, equals);
        bool ours = std::any_of(variables.begin(), variables.end(), [&](const auto& var) { return same_name(name, var.first); });
        if (ours) continue;
        block += entry;
        block.push_back(u'\0');
    }
    for (const auto& [name, value] : variables) {
        block += name;
        block.push_back(u'=');
        block += value;
        block.push_back(u'\0');
    }
    block.push_back(u'\0');
    return block;
}

std::u16string start_event_name(std::u16string_view uuid_text) {
    return u"Local\\Lumaro.Update." + std::u16string(uuid_text);
}
