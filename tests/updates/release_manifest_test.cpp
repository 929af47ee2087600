// The maintainer's scripts/release-manifest writes a manifest that the
// program's own check accepts. Native runs only: the script needs Python.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <utility>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tiny_program.h"
#include "updates/manifest.h"

namespace {

// LUMARO_TEST_DATA is <checkout>/tests/updates/data, which need not exist.
std::string script_path() {
    std::string data = LUMARO_TEST_DATA;
    return data.substr(0, data.rfind("/tests/")) + "/scripts/release-manifest";
}
const std::string script = script_path();

std::string temp_path(const char* name) { return "/tmp/lumaro-release-" + std::to_string(getpid()) + "-" + name; }

std::string write_program(std::uint16_t machine) {
    const std::vector<std::uint8_t> b = tiny_program(machine);
    const std::string path = temp_path(machine == 0x8664 ? "x64.exe" : "x86.exe");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    return path;
}

int run(const std::string& arguments) { return std::system(("python3 " + script + " " + arguments + " >/dev/null 2>&1").c_str()); }

std::string read_all(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(ReleaseManifest, WritesAManifestTheCheckAccepts) {
    const std::string exe = write_program(0x8664), out = temp_path("latest.json");
    ASSERT_EQ(run("-o " + out + " --version 1.6.0 --notes '修复若干问题' " + exe), 0);
    const UpdateOutcome outcome = evaluate_manifest(read_all(out), "1.5.0");
    EXPECT_EQ(outcome, (UpdateOutcome{UpdateOutcome::Available{UpdateManifest{
                           "1.6.0", 4096, "6b63e5afa5e777103f23f1082a328d9957ee6126ccea43f3f98d944ced1a3221",
                           "修复若干问题"}}}));
    std::remove(out.c_str());
    std::remove(exe.c_str());
}

TEST(ReleaseManifest, RefusesWhatTheProgramWouldRefuse) {
    ASSERT_TRUE(std::ifstream(script).good()) << script;
    const std::string x64 = write_program(0x8664), x86 = write_program(0x014C), out = temp_path("refused.json");
    EXPECT_NE(run("-o " + out + " --version 1.6.0 " + x86), 0);
    EXPECT_NE(run("-o " + out + " --version v1.6.0 " + x64), 0);
    EXPECT_NE(run("-o " + out + " --version 1.06.0 " + x64), 0);
    std::ifstream written(out);
    EXPECT_FALSE(written.good());
    std::remove(x64.c_str());
    std::remove(x86.c_str());
}

TEST(ReleaseManifest, AFailureIsOneLineAndLeavesNoFile) {
    const std::string x64 = write_program(0x8664), out = temp_path("failed.json"), latin1 = temp_path("notes.txt");
    const std::string directory = temp_path("directory");
    std::ofstream(latin1) << "caf\xE9";
    std::filesystem::create_directory(directory);
    const std::pair<std::string, std::string> cases[] = {  // output, arguments
        {out, temp_path("missing.exe")},
        {out, "--notes-file " + latin1 + " " + x64},
        {out, "--notes-file " + temp_path("missing.txt") + " " + x64},
        {out, "--notes \"$(printf 'caf\\351')\" " + x64},
        {directory, x64},  // the temporary file is written, the rename fails
    };
    for (const auto& [output, arguments] : cases) {
        const std::string command = "python3 " + script + " --version 1.6.0 -o " + output + " " + arguments;
        FILE* pipe = popen((command + " 2>&1 >/dev/null; echo exit $?").c_str(), "r");
        std::string printed;
        for (int c; (c = std::fgetc(pipe)) != EOF;) printed.push_back(static_cast<char>(c));
        pclose(pipe);
        EXPECT_TRUE(printed.starts_with("release-manifest: ") && printed.find('\n') + 1 == printed.rfind("exit ") &&
                    !printed.ends_with("exit 0\n"))
            << printed;
        EXPECT_FALSE(std::filesystem::is_regular_file(output)) << arguments;
        EXPECT_FALSE(std::filesystem::exists(output + ".tmp")) << arguments;
    }
    std::filesystem::remove(directory);
    std::remove(latin1.c_str());
    std::remove(x64.c_str());
}

}  // namespace
#endif
