// scripts/release on a scratch copy of the checkout, committed and tagged there,
// publishing stand-in programs; and the workflows. Native only (git, Python).
#ifndef _WIN32
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>

#include "tiny_program.h"
#include "updates/manifest.h"
#include "updates/update_config.h"

namespace {

namespace fs = std::filesystem;

const std::string checkout = fs::path(LUMARO_TEST_DATA).parent_path().parent_path().parent_path();
const std::string scratch = "/tmp/lumaro-release-script-" + std::to_string(getpid()), repo = scratch + "/repo";
const std::string tag = "v" + std::string(current_version);
const std::string git = "git -c user.name=L -c user.email=l@example.invalid ";

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Runs a command in the scratch repository; its output goes to scratch/out.
int sh(const std::string& command) {
    return std::system(("cd " + repo + " && (" + command + ") >../out 2>&1").c_str());
}
int release(const std::string& exe, const std::string& arguments) {
    return sh("LUMARO_RELEASE_EXE=../" + exe + " scripts/release --skip-tests " + arguments);
}

std::map<std::string, std::string> dist_files() {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(repo + "/dist"))
        files[entry.path().filename()] = slurp(entry.path());
    return files;
}

class ReleaseScript : public testing::Test {
protected:
    static void SetUpTestSuite() {
        fs::create_directories(repo);
        // 4096.exe is released; a refused run must not publish 8192.exe.
        const std::vector<std::uint8_t> b = tiny_program(0x8664);
        std::ofstream(scratch + "/4096.exe").write(reinterpret_cast<const char*>(b.data()), 4096);
        // The checkout as it is, uncommitted changes too.
        ASSERT_EQ(std::system(("cd " + checkout + " && git ls-files -coz --exclude-standard | tar --null -T - "
                               "--ignore-failed-read -cf - 2>/dev/null | tar -C " + repo + " -xf -").c_str()), 0);
        ASSERT_EQ(sh("cat ../4096.exe ../4096.exe >../8192.exe && git init -q && git add -A && " + git +
                     "commit -qm r --no-gpg-sign && " + git + "tag -a " + tag + " -m 修复若干问题"),
                  0);
    }
    static void TearDownTestSuite() { fs::remove_all(scratch); }
};

TEST_F(ReleaseScript, WritesTheThreeAssetsTheProgramAccepts) {
    std::ofstream(scratch + "/notes.txt") << "说明\r\n第二行";
    const struct { std::string arguments, notes; } runs[] = {
        {"", "修复若干问题"}, {"--notes-file ../notes.txt " + tag, "说明\n第二行"}};
    const std::string sha256 = "6b63e5afa5e777103f23f1082a328d9957ee6126ccea43f3f98d944ced1a3221";  // 4096.exe
    for (const auto& run : runs) {
        ASSERT_EQ(release("4096.exe", run.arguments), 0) << slurp(scratch + "/out");
        auto files = dist_files();
        EXPECT_EQ(files.size(), 3u);
        EXPECT_EQ(files["Lumaro.exe"], slurp(scratch + "/4096.exe"));
        EXPECT_EQ(evaluate_manifest(files["latest.json"], "0.0.0"),
                  (UpdateOutcome{UpdateOutcome::Available{
                      UpdateManifest{std::string(current_version), 4096, sha256, run.notes}}}));
        EXPECT_EQ(files["SHA256SUMS"].substr(0, 77), sha256 + "  Lumaro.exe\n");
    }
    EXPECT_EQ(sh("git status --porcelain | grep -q ."), 256) << "a release leaves the tree clean";

    // scoop follows the releases the program updates from.
    const auto scoop = nlohmann::json::parse(slurp(checkout + "/packaging/scoop/lumaro.json"));
    EXPECT_EQ(scoop["checkver"]["github"].get<std::string>() + "/releases", release_base_url);
    EXPECT_EQ(scoop["autoupdate"]["architecture"]["64bit"]["url"],
              std::string(release_base_url) + "/download/v$version/Lumaro.exe");
}

TEST_F(ReleaseScript, RefusalsLeaveDistUntouched) {
    ASSERT_EQ(release("4096.exe", ""), 0) << slurp(scratch + "/out");
    const auto before = dist_files();
    const struct { std::string change, tag, undo; } cases[] = {
        {"touch stray.txt", "", "rm stray.txt"},                                     // dirty trees
        {"echo >>README.md", tag, "git checkout -q README.md"},                      //
        {"git tag " + tag.substr(1), tag.substr(1), "git tag -d " + tag.substr(1)},  // not vX.Y.Z
        {"git tag v9.9.9", "v9.9.9", "git tag -d v9.9.9"},                           // not the version
    };
    for (const auto& c : cases) {
        ASSERT_EQ(sh(c.change), 0) << c.change;
        EXPECT_NE(release("8192.exe", c.tag), 0) << c.change;
        const std::string out = slurp(scratch + "/out");  // one line
        EXPECT_EQ(out.find('\n'), out.size() - 1) << out;
        EXPECT_EQ(dist_files(), before) << c.change;
        EXPECT_TRUE(fs::is_empty(repo + "/build")) << "work files left behind";
        ASSERT_EQ(sh(c.undo), 0) << c.undo;
    }
}

TEST(ReleaseWorkflows, ParseAndCallOnlyScriptsThatExist) {
    // Each loads as YAML and names scripts, all of them there.
    const std::string check = "import os, re, sys, yaml\nfor p in sys.argv[1:]: yaml.safe_load(open(p)); "
                              "c = re.findall(r\"(?:scripts|\\.ci)/[\\w.-]+\", open(p).read()); "
                              "assert c and all(os.access(f, os.X_OK) for f in c), (p, c)\n";
    EXPECT_EQ(std::system(("cd " + checkout + " && python3 -c '" + check + "' .github/workflows/*.yml").c_str()), 0);
}

}  // namespace
#endif
