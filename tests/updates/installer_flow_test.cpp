// The installer script's failure paths, played on a model of the files and
// processes it touches (Windows PowerShell runs neither here nor under Wine).
// The script's text decides the flow: the order of its steps and of its
// recovery steps, and each step's statements and conditions, are read from
// it; a statement or condition the model does not know fails the test.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "updates/installer_command.h"

namespace {

// A file swap that fails untouched, or halfway: the target already renamed
// to the backup name, the new file still where it was.
enum class Fault { none, untouched, halfway };

struct World {
    bool download_changed = false, previous_exits = true, target_changed = false;
    Fault swap = Fault::none, rollback = Fault::none;
    bool move_fails = false;
    int new_exit = -1;  // -1: still running after two seconds
};

struct Outcome {
    std::string target;  // "old", "new", or "" when there is no target
    bool backup = false, popup = false, popup_names_backup = false;
    std::vector<std::string> started;
    bool operator==(const Outcome&) const = default;
};

struct Raised {};

class ScriptModel {
public:
    ScriptModel(std::string_view script, World world) : world_(world) {
        std::istringstream in{std::string(script)};
        std::string line, name;
        while (std::getline(in, line)) {
            if (line.starts_with("function ") && line.ends_with("{")) name = line.substr(9, line.find_first_of(" ({", 9) - 9);
            else if (line == "}") name.clear();
            else if (!name.empty()) functions_[name].push_back(line.substr(line.find_first_not_of(' ')));
            std::smatch m;
            if (std::regex_search(line, m, std::regex(R"(foreach \(\$step in ([^)]*)\))"))) {
                std::string list = m[1];
                steps_.emplace_back();
                static const std::regex quoted("'([^']*)'");
                for (std::sregex_iterator it(list.begin(), list.end(), quoted), end; it != end; ++it)
                    steps_.back().push_back((*it)[1]);
            }
        }
    }

    Outcome run() {
        EXPECT_EQ(steps_.size(), 2u);  // the update, then the recovery
        if (steps_.size() != 2) return {};
        bool failed = false;
        try {
            for (const auto& step : steps_[0]) call(step);
        } catch (Raised) {
            failed = true;
            for (const auto& step : steps_[1]) try { call(step); } catch (Raised) {}
        }
        files_.erase("$staged");  // finally
        return {files_.count("$target") ? files_["$target"] : "", files_.count("$backup") > 0,
                failed && flags_["$started"], popup_names_backup_, started_};
    }

private:
    void call(const std::string& name) {
        EXPECT_TRUE(functions_.count(name)) << name;
        int skipping = 0;
        for (const std::string& line : functions_[name]) {
            if (skipping) skipping += line.ends_with("{") - (line == "}");
            else if (line.starts_with("if (") && line.ends_with("{")) skipping = !condition(inside_if(line));
            else if (line != "}") statement(line);
        }
    }

    static std::string inside_if(const std::string& line) {
        int depth = 0;
        for (std::size_t i = 3; i < line.size(); ++i)
            if ((depth += (line[i] == '(') - (line[i] == ')')) == 0) return line.substr(4, i - 4);
        return line;
    }

    void statement(const std::string& s) {
        std::smatch m;
        if (s.starts_with("if (")) {
            const std::string c = inside_if(s);
            if (condition(c)) statement(s.substr(c.size() + 8, s.size() - c.size() - 10));
        } else if (s.starts_with("try { ")) {
            try { statement(s.substr(6, s.find(" } ") - 6)); } catch (Raised) {}
        } else if (s.starts_with("throw ")) {
            throw Raised{};
        } else if (std::regex_match(s, m, std::regex(R"(\$script:(\w+) = \$true)"))) {
            flags_["$" + m[1].str()] = true;
        } else if (s == "$script:newProcess = Start-Toolbox" || s == "[void] (Start-Toolbox)") {
            if (!files_.count("$target")) throw Raised{};
            started_.push_back(files_["$target"]);
            if (s.starts_with("$script")) flags_["$newProcess"] = true;
        } else if (s == "$script:newProcess = $null") {
            flags_["$newProcess"] = false;
        } else if (std::regex_match(s, m, std::regex(R"(\[System\.IO\.File\]::Replace\((\$\w+), (\$\w+), (\$\w+)\))"))) {
            replace(m[1], m[2], m[3], replaces_++ == 0 ? world_.swap : world_.rollback);
        } else if (std::regex_match(s, m, std::regex(R"(\[System\.IO\.File\]::Move\((\$\w+), (\$\w+)\))"))) {
            if (world_.move_fails || !files_.count(m[1].str()) || files_.count(m[2].str())) throw Raised{};
            files_[m[2].str()] = files_[m[1].str()];
            files_.erase(m[1].str());
        } else if (std::regex_match(s, m, std::regex(R"(\[System\.IO\.File\]::Delete\((\$\w+)\))"))) {
            files_.erase(m[1].str());
        } else if (s.starts_with("Add-Reason ")) {
            popup_names_backup_ |= s.find("$backup") != std::string::npos;
        } else if (!std::regex_match(s, std::regex(R"((Open-Guard|Close-Guard|\[void\] \$ready\.Set\(\)|\$script:(previous|ready) = |\$file = |\$current = ).*)"))) {
            ADD_FAILURE() << "a statement the model does not know: " << s;
        }
    }

    // ReplaceFile: new_file becomes target, the old target becomes backup.
    void replace(const std::string& new_file, const std::string& target, const std::string& backup, Fault fault) {
        if (!files_.count(new_file) || !files_.count(target) || fault == Fault::untouched) throw Raised{};
        files_[backup] = files_[target];
        files_.erase(target);
        if (fault == Fault::halfway) throw Raised{};
        files_[target] = files_[new_file];
        files_.erase(new_file);
    }

    bool condition(const std::string& c) {
        bool all = true;
        for (std::size_t at = 0;;) {
            const std::size_t next = c.find(" -and ", at);
            all = atom(c.substr(at, next - at)) && all;
            if (next == std::string::npos) return all;
            at = next + 6;
        }
    }

    bool atom(const std::string& a) {
        std::smatch m;
        if (a.starts_with("-not ")) return !atom(a.substr(5));
        if (std::regex_match(a, m, std::regex(R"(\(?Test-File (\$\w+)\)?)"))) return files_.count(m[1].str()) > 0;
        if (a == "$installed" || a == "$started") return flags_[a];
        if (a == "$null -eq $newProcess") return !flags_["$newProcess"];
        if (a == "$previous.HasExited" || a == "$previous.WaitForExit(30000)") return world_.previous_exits;
        if (a == "(Get-Sha256 $guard) -ne $env:LMR_UPDATE_SHA") return !flags_["$installed"] && world_.download_changed;
        if (a == "$current -ne $env:LMR_UPDATE_PREVIOUS") return world_.target_changed;
        if (a == "$newProcess.WaitForExit(2000)") return world_.new_exit >= 0;
        if (a == "$newProcess.ExitCode -ne 0") return world_.new_exit != 0;
        ADD_FAILURE() << "a condition the model does not know: " << a;
        return false;
    }

    World world_;
    std::map<std::string, std::vector<std::string>> functions_;
    std::vector<std::vector<std::string>> steps_;
    std::map<std::string, std::string> files_{{"$target", "old"}, {"$staged", "new"}};
    std::map<std::string, bool> flags_;
    std::vector<std::string> started_;
    bool popup_names_backup_ = false;
    int replaces_ = 0;
};

TEST(InstallerScriptFlow, EveryFailureLeavesATargetOrNamesTheBackup) {
    using enum Fault;
    struct Case {
        const char* name;
        World world;
        Outcome expected;  // target, backup kept, popup, popup names the backup, programs started
    };
    const Case cases[] = {
        {"hash mismatch", {.download_changed = true}, {"old", false, false, false, {}}},
        {"old program does not exit", {.previous_exits = false}, {"old", false, true, false, {}}},
        {"target changed", {.target_changed = true}, {"old", false, true, false, {"old"}}},
        {"swap fails untouched", {.swap = untouched}, {"old", false, true, false, {"old"}}},
        {"swap fails with the target gone", {.swap = halfway}, {"old", false, true, false, {"old"}}},
        {"... and the backup cannot go back", {.swap = halfway, .move_fails = true}, {"", true, true, true, {}}},
        {"new program runs", {}, {"new", false, false, false, {"new"}}},
        {"new program exits 0", {.new_exit = 0}, {"new", false, false, false, {"new"}}},
        {"new program exits 3", {.new_exit = 3}, {"old", false, true, false, {"new", "old"}}},
        {"rollback swap fails untouched", {.rollback = untouched, .new_exit = 3}, {"new", true, true, true, {"new"}}},
        {"rollback swap fails with the target gone", {.rollback = halfway, .new_exit = 3},
         {"old", false, true, false, {"new", "old"}}},
        {"... and the backup cannot go back", {.rollback = halfway, .move_fails = true, .new_exit = 3},
         {"", true, true, true, {"new"}}},
    };
    for (const auto& c : cases) EXPECT_EQ(ScriptModel(installer_script_text(), c.world).run(), c.expected) << c.name;
}

}  // namespace
