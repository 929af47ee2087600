#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "updates/manifest.h"
#include "updates/update_config.h"

namespace {

const std::string hash = "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef";

UpdateOutcome failed(std::string_view message) { return {UpdateOutcome::CheckFailed{std::string(message)}}; }
UpdateOutcome up_to_date() { return {UpdateOutcome::UpToDate{}}; }
UpdateOutcome available(std::string version, std::uint64_t size, std::string sha256, std::string notes = "") {
    return {UpdateOutcome::Available{UpdateManifest{std::move(version), size, std::move(sha256), std::move(notes)}}};
}

std::string newer(std::string_view size, std::string_view sha256 = "\"" + hash + "\"") {
    return R"({"version": "1.6.0", "size": )" + std::string(size) + R"(, "sha256": )" + std::string(sha256) + "}";
}

struct ManifestCase {
    const char* name;
    std::string body;
    UpdateOutcome expected;
};

TEST(EvaluateManifest, VersionsSizesHashesAndDocumentShapes) {
    const std::string upper = "0123456789ABCDEF0123456789ABCDEF0123456789ABCDEF0123456789ABCDEF";
    const ManifestCase cases[] = {
        {"same version", R"({"version":"1.5.0"})", up_to_date()},
        {"older", R"({"version":"1.4.99","size":"x"})", up_to_date()},
        {"patch newer", R"({"version":"1.5.1","size":5,"sha256":")" + hash + "\"}", available("1.5.1", 5, hash)},
        {"minor newer", R"({"version":"1.6.0","size":5,"sha256":")" + hash + "\"}", available("1.6.0", 5, hash)},
        {"major newer", R"({"version":"2.0.0","size":5,"sha256":")" + hash + "\"}", available("2.0.0", 5, hash)},
        {"size 0", newer("0"), failed("发布包大小无效。")},
        {"size at the cap", newer("33554432"), available("1.6.0", 33554432, hash)},
        {"size over the cap", newer("33554433"), failed("发布包大小无效。")},
        {"size -1", newer("-1"), failed("发布包大小无效。")},
        {"size 12.0", newer("12.0"), failed("发布包大小无效。")},
        {"size 1e3", newer("1e3"), failed("发布包大小无效。")},
        {"size string", newer("\"123\""), failed("发布包大小无效。")},
        {"size huge", newer("18446744073709551616"), failed("发布包大小无效。")},
        {"size missing", R"({"version":"1.6.0","sha256":")" + hash + "\"}", failed("发布包大小无效。")},
        {"size checked before sha256", newer("0", "1"), failed("发布包大小无效。")},
        {"sha256 63", newer("7", "\"" + hash.substr(1) + "\""), failed("发布包校验值无效。")},
        {"sha256 65", newer("7", "\"" + hash + "0\""), failed("发布包校验值无效。")},
        {"sha256 with g", newer("7", "\"g" + hash.substr(1) + "\""), failed("发布包校验值无效。")},
        {"sha256 number", newer("7", "12"), failed("发布包校验值无效。")},
        {"sha256 missing", R"({"version":"1.6.0","size":7})", failed("发布包校验值无效。")},
        {"sha256 upper case lowered", newer("7", "\"" + upper + "\""), available("1.6.0", 7, hash)},
        {"array", R"([{"version":"1.6.0"}])", failed("发布清单缺少版本号。")},
        {"no version", R"({"size":7})", failed("发布清单缺少版本号。")},
        {"version 160", R"({"version":160})", failed("发布清单缺少版本号。")},
        {"version null", R"({"version":null})", failed("发布清单缺少版本号。")},
        {"version with v", R"({"version":"v1.6.0"})", failed("发布版本格式无效。")},
        {"stray comma", R"({"version":"1.6.0"},)", failed("无法解析发布清单。")},
        {"comma inside", R"({"version":"1.6.0",})", failed("无法解析发布清单。")},
        {"trailing garbage", R"({"version":"1.5.0"} x)", failed("无法解析发布清单。")},
        {"two documents", R"({"version":"1.5.0"} {})", failed("无法解析发布清单。")},
        {"comment", "{\"version\":\"1.5.0\"} // c", failed("无法解析发布清单。")},
        {"empty", "", failed("无法解析发布清单。")},
        {"invalid UTF-8", "{\"version\":\"1.5.0\",\"notes\":\"\xC3\x28\"}", failed("无法解析发布清单。")},
        {"NUL after the value", std::string("{\"version\":\"1.5.0\"}\0 garbage", 28), failed("无法解析发布清单。")},
        {"trailing white space", "{\"version\":\"1.5.0\"} \t\r\n", up_to_date()},
        {"duplicate names keep the last", R"({"version":"9.0.0","version":"1.5.0"})", up_to_date()},
        {"duplicate size keeps the last", newer("0, \"size\": 9"), available("1.6.0", 9, hash)},
    };
    for (const auto& c : cases) EXPECT_EQ(evaluate_manifest(c.body, current_version), c.expected) << c.name;
}

TEST(EvaluateManifest, AnInvalidOwnVersionIsReported) {
    EXPECT_EQ(evaluate_manifest(R"({"version":"1.6.0"})", "1.5"), failed("当前版本格式无效。"));
}

TEST(EvaluateManifest, NotesAreFilteredAndCut) {
    struct NotesCase {
        const char* name;
        std::string notes_json;  // the member's JSON value
        std::string expected;
    };
    const NotesCase cases[] = {
        {"plain", R"("修复若干问题")", "修复若干问题"},
        {"carriage returns and tabs removed", R"("a\r\n\tb\u0000c\u001fd\u007fe\u0085f\u009fg\u00a0h")",
         "a\nbcdefg" "\xC2\xA0" "h"},
        {"700 letters become 600", "\"" + std::string(700, 'x') + "\"", std::string(600, 'x')},
        {"600 counted in characters", "\"\\t\\r\\u0001" + [] {
             std::string s;
             for (int i = 0; i < 700; ++i) s += "新";
             return s;
         }() + "\"",
         [] {
             std::string s;
             for (int i = 0; i < 600; ++i) s += "新";
             return s;
         }()},
        {"null", "null", ""},
        {"number", "12", ""},
        {"object", "{}", ""},
    };
    for (const auto& c : cases) {
        std::string body = R"({"version":"1.6.0","size":5,"sha256":")" + hash + R"(","notes":)" + c.notes_json + "}";
        EXPECT_EQ(evaluate_manifest(body, current_version), available("1.6.0", 5, hash, c.expected)) << c.name;
    }
}

TEST(OfferText, VersionCurrentVersionNotesAndQuestion) {
    EXPECT_EQ(offer_text(UpdateManifest{"1.6.0", 5, hash, "修复\n改进"}, "1.5.0"),
              "发现Lumaro 1.6.0（当前 1.5.0）。\n\n修复\n改进\n\n下载并重启以安装更新？请先复制或保存正在编辑的内容。");
    EXPECT_EQ(offer_text(UpdateManifest{"1.6.0", 5, hash, ""}, "1.5.0"),
              "发现Lumaro 1.6.0（当前 1.5.0）。\n\n下载并重启以安装更新？请先复制或保存正在编辑的内容。");
}

}  // namespace
