// The installer script's failure paths, played on a model of the files and
// processes it touches (Windows PowerShell runs neither here nor under Wine).
// The script's text decides the flow: the order of its steps and of its
// recovery steps, and each step's statements and conditions, are read from
// it; a statement or condition the model does not know fails the test.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
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

void PrintTo(const Outcome& o, std::ostream* out) {
    *out << "target '" << o.target << "', backup " << o.backup << ", popup " << o.popup << ", naming the backup "
         << o.popup_names_backup << ", started " << testing::PrintToString(o.started);
}

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
            if (const auto at = line.find("foreach ($step in "); at != std::string::npos) {
                steps_.emplace_back();
                const std::size_t from = at + 18, to = line.find(')', from);
                for (std::string step : arguments("(" + line.substr(from, to - from) + ")"))
                    steps_.back().push_back(step.substr(1, step.size() - 2));  // without its quotes
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

    // "f(a, b)" gives a and b.
    static std::vector<std::string> arguments(const std::string& call) {
        std::vector<std::string> list;
        std::string inner = call.substr(call.find('(') + 1, call.rfind(')') - call.find('(') - 1);
        for (std::size_t at = 0, comma; at <= inner.size(); at = comma + 2) {
            comma = std::min(inner.find(", ", at), inner.size());
            list.push_back(inner.substr(at, comma - at));
        }
        return list;
    }

    void statement(const std::string& s) {
        const std::vector<std::string> a = s.find('(') != std::string::npos ? arguments(s) : std::vector<std::string>{};
        if (s.starts_with("if (")) {
            const std::string c = inside_if(s);
            if (condition(c)) statement(s.substr(c.size() + 8, s.size() - c.size() - 10));
        } else if (s.starts_with("try { ")) {
            try { statement(s.substr(6, s.find(" } ") - 6)); } catch (Raised) {}
        } else if (s.starts_with("throw ")) {
            throw Raised{};
        } else if (s.starts_with("$script:") && s.ends_with(" = $true")) {
            flags_["$" + s.substr(8, s.size() - 16)] = true;
        } else if (s == "$script:newProcess = Start-Toolbox" || s == "[void] (Start-Toolbox)") {
            if (!files_.count("$target")) throw Raised{};
            started_.push_back(files_["$target"]);
            if (s.starts_with("$script")) flags_["$newProcess"] = true;
        } else if (s == "$script:newProcess = $null") {
            flags_["$newProcess"] = false;
        } else if (s.starts_with("[System.IO.File]::Replace(") && a.size() == 3) {
            replace(a[0], a[1], a[2], replaces_++ == 0 ? world_.swap : world_.rollback);
        } else if (s.starts_with("[System.IO.File]::Move(") && a.size() == 2) {
            if (world_.move_fails || !files_.count(a[0]) || files_.count(a[1])) throw Raised{};
            files_[a[1]] = files_[a[0]];
            files_.erase(a[0]);
        } else if (s.starts_with("[System.IO.File]::Delete(") && a.size() == 1) {
            files_.erase(a[0]);
        } else if (s.starts_with("Add-Reason ")) {
            popup_names_backup_ |= s.find("$backup") != std::string::npos;
        } else if (!std::any_of(std::begin(inert), std::end(inert), [&](const char* p) { return s.starts_with(p); })) {
            ADD_FAILURE() << "a statement the model does not know: " << s;
        }
    }

    // Statements that touch no file and decide nothing.
    static constexpr const char* inert[] = {"Open-Guard ", "Close-Guard", "[void] $ready.Set()", "$script:previous = ",
                                            "$script:ready = ", "$file = ", "$current = "};

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
        if (a.starts_with("-not ")) return !atom(a.substr(5));
        if (a.starts_with("(Test-File ") || a.starts_with("Test-File "))
            return files_.count(a.substr(a.find('$'), a.find_first_of(")", a.find('$')) - a.find('$'))) > 0;
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
