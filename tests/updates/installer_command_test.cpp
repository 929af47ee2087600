#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "ui/text_convert.h"
#include "updates/installer_command.h"

namespace {

std::u16string u16(std::string_view s) { return utf8_to_utf16(s); }

TEST(InstallerScript, HoldsNoQuoteNoBackslashAndEveryMessage) {
    const std::string_view script = installer_script_text();
    EXPECT_EQ(script.find('"'), std::string_view::npos);
    EXPECT_EQ(script.find('\\'), std::string_view::npos);
    EXPECT_EQ(script.find('\r'), std::string_view::npos);
    for (std::string_view text : {
             "更新未完成。", "'Lumaro'", "The downloaded file changed.", "The running toolbox did not exit.",
             "The installed file changed during the update.", "The installed file failed verification.",
             "The new toolbox failed to start.", "$env:LMR_UPDATE_TARGET", "$env:LMR_UPDATE_STAGED",
             "$env:LMR_UPDATE_PID", "$env:LMR_UPDATE_EVENT", "$env:LMR_UPDATE_SHA", "$env:LMR_UPDATE_PREVIOUS",
             "'.previous'", "$ErrorActionPreference = 'Stop'", "function Start-Toolbox", "function Get-Sha256",
             "function Show-UpdateError", "WScript.Shell", "WaitForExit(30000)", "WaitForExit(2000)",
             "[System.IO.File]::Replace($staged, $target, $backup)",
             "[System.IO.File]::Replace($backup, $target, $staged)", "exit 1"})
        EXPECT_NE(script.find(text), std::string_view::npos) << text;
}

TEST(InstallerScript, StepsComeInTheirOrder) {
    const std::string_view script = installer_script_text();
    const char* steps[] = {"Get-Process -Id",  "OpenExisting",          "FileShare]::Delete",
                           "LMR_UPDATE_SHA)",  "$ready.Set()",          "$script:started = $true",
                           "WaitForExit(30000)", "LMR_UPDATE_PREVIOUS)", "Replace($staged, $target, $backup)",
                           "$script:installed = $true", "failed verification", "$script:newProcess = Start-Toolbox",
                           "WaitForExit(2000)", "Delete($backup)",       "} catch {",
                           "Replace($backup, $target, $staged)",        "if ($started) { Show-UpdateError",
                           "} finally {",       "Delete($staged)",       "if ($failed) { exit 1 }"};
    std::size_t at = 0;
    for (const char* step : steps) {
        std::size_t found = script.find(step, at);
        ASSERT_NE(found, std::string_view::npos) << step;
        at = found;
    }
}

TEST(InstallerScript, FitsOneCommandLine) {
    const std::u16string program = u16("C:\\windows\\system32\\WindowsPowerShell\\v1.0\\powershell.exe");
    const std::u16string script = u16(installer_script_text());
    const std::u16string line = installer_command_line(program, script);
    EXPECT_LT(line.size(), 32767u);
    // With no quote and no backslash inside, quoting only wraps the text.
    EXPECT_EQ(quote_argument(script), u"\"" + script + u"\"");
    EXPECT_EQ(line, u"\"" + program + u"\" -NoLogo -NoProfile -NonInteractive -Command \"" + script + u"\"");
}

TEST(QuoteArgument, FollowsTheCommandLineRules) {
    struct Case {
        std::u16string in, out;
    };
    const Case cases[] = {
        {u"plain", u"plain"},
        {u"", u"\"\""},
        {u"two words", u"\"two words\""},
        {u"a\"b", u"\"a\\\"b\""},
        {u"a\\b c", u"\"a\\b c\""},
        {u"end\\ ", u"\"end\\ \""},
        {u"end\\\\ x\\", u"\"end\\\\ x\\\\\""},
        {u"q\\\"", u"\"q\\\\\\\"\""},
    };
    for (const auto& c : cases) EXPECT_EQ(quote_argument(c.in), c.out);
}

TEST(InstallerEnvironment, SixVariablesAddedOldOnesReplaced) {
    const InstallerVariables v{u"C:\\apps\\Lumaro.exe", u"C:\\apps\\.lumaro-x.download", u"4242",
                               u"Local\\Lumaro.Update.x", std::u16string(64, u'a'), std::u16string(64, u'b')};
    std::u16string current = u"=C:=C:\\apps";
    current.push_back(0);
    current += u"PATH=C:\\windows";
    current.push_back(0);
    current += u"lmr_update_target=stale";
    current.push_back(0);
    current += u"LMR_UPDATE_TARGETS=kept";
    current.push_back(0);
    current.push_back(0);
    const std::u16string block = installer_environment(current, v);

    std::vector<std::u16string> entries;
    for (std::size_t at = 0; at < block.size() && block[at] != 0;) {
        std::size_t end = block.find(u'\0', at);
        entries.push_back(block.substr(at, end - at));
        at = end + 1;
    }
    EXPECT_TRUE(block.ends_with(std::u16string(2, u'\0')));
    const std::vector<std::u16string> expected = {
        u"=C:=C:\\apps",
        u"PATH=C:\\windows",
        u"LMR_UPDATE_TARGETS=kept",
        u"LMR_UPDATE_TARGET=C:\\apps\\Lumaro.exe",
        u"LMR_UPDATE_STAGED=C:\\apps\\.lumaro-x.download",
        u"LMR_UPDATE_PID=4242",
        u"LMR_UPDATE_EVENT=Local\\Lumaro.Update.x",
        u"LMR_UPDATE_SHA=" + std::u16string(64, u'a'),
        u"LMR_UPDATE_PREVIOUS=" + std::u16string(64, u'b'),
    };
    EXPECT_EQ(entries, expected);

    const std::u16string alone = installer_environment(std::u16string(1, u'\0'), v);
    EXPECT_TRUE(alone.starts_with(u"LMR_UPDATE_TARGET=C:"));
    EXPECT_TRUE(block.ends_with(alone));
}

TEST(InstallerEnvironment, EventName) {
    EXPECT_EQ(start_event_name(u"0f8fad5b-d9cb-469f-a165-70867728950e"),
              u"Local\\Lumaro.Update.0f8fad5b-d9cb-469f-a165-70867728950e");
}

}  // namespace
