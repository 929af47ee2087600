#include "updates/manifest.h"

#include <nlohmann/json.hpp>

#include <optional>

#include "json/utf8.h"
#include "updates/update_messages.h"
#include "updates/version.h"

namespace {

using Json = nlohmann::json;

UpdateOutcome failed(std::string_view message) { return {UpdateOutcome::CheckFailed{std::string(message)}}; }

// The library keeps integers written without fraction or exponent as integer
// values; anything written with them, or too large for 64 bits, comes back as
// a floating-point value and is refused here.
std::optional<std::uint64_t> release_size(const Json& document) {
    auto it = document.find("size");
    if (it == document.end()) return std::nullopt;
    std::uint64_t size = 0;
    if (it->is_number_unsigned())
        size = it->get<std::uint64_t>();
    else if (it->is_number_integer() && it->get<std::int64_t>() >= 0)
        size = static_cast<std::uint64_t>(it->get<std::int64_t>());
    else
        return std::nullopt;
    if (size < 1 || size > max_release_size) return std::nullopt;
    return size;
}

std::optional<std::string> release_sha256(const Json& document) {
    auto it = document.find("sha256");
    if (it == document.end() || !it->is_string()) return std::nullopt;
    std::string text = it->get<std::string>();
    if (text.size() != 64) return std::nullopt;
    for (char& c : text) {
        if (c >= 'A' && c <= 'F') c = static_cast<char>(c - 'A' + 'a');
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return std::nullopt;
    }
    return text;
}

std::string release_notes(const Json& document) {
    auto it = document.find("notes");
    if (it == document.end() || !it->is_string()) return {};
    return filter_notes(it->get_ref<const std::string&>());
}

// The C0 controls but LF, DEL, and the C1 controls (C2 80 to C2 9F in UTF-8).
bool removed_from_notes(std::string_view c) {
    const auto lead = static_cast<unsigned char>(c[0]);
    if (c.size() == 1) return (lead < 0x20 && lead != '\n') || lead == 0x7F;
    return c.size() == 2 && lead == 0xC2 && static_cast<unsigned char>(c[1]) <= 0x9F;
}

}  // namespace

std::string filter_notes(std::string_view notes) {
    std::string out;
    std::size_t kept = 0;
    while (!notes.empty() && kept < max_notes_characters) {
        std::size_t n = utf8_char_length(notes);
        if (n == 0) n = 1;  // not reached for the library's strings, which are valid UTF-8
        std::string_view c = notes.substr(0, n);
        notes.remove_prefix(n);
        if (removed_from_notes(c)) continue;
        out.append(c);
        ++kept;
    }
    return out;
}

UpdateOutcome evaluate_manifest(std::string_view body, std::string_view own_version) {
    // Strict RFC 8259: no comments, nothing but white space after the value.
    // The library keeps the last value of a member name given twice. It also
    // stops at a NUL byte as if the text ended there, which would let
    // anything at all follow the value.
    if (body.find('\0') != std::string_view::npos) return failed(manifest_unreadable);
    const Json document = Json::parse(body.begin(), body.end(), nullptr, false, false);
    if (document.is_discarded()) return failed(manifest_unreadable);
    if (!document.is_object()) return failed(manifest_without_version);
    auto version_member = document.find("version");
    if (version_member == document.end() || !version_member->is_string()) return failed(manifest_without_version);
    const std::string& version = version_member->get_ref<const std::string&>();

    std::optional<VersionNumber> release = parse_version(version);
    if (!release) return failed(release_version_invalid);
    std::optional<VersionNumber> own = parse_version(own_version);
    if (!own) return failed(own_version_invalid);
    if (*release <= *own) return {UpdateOutcome::UpToDate{}};

    std::optional<std::uint64_t> size = release_size(document);
    if (!size) return failed(release_size_invalid);
    std::optional<std::string> sha256 = release_sha256(document);
    if (!sha256) return failed(release_sha256_invalid);
    return {UpdateOutcome::Available{UpdateManifest{version, *size, std::move(*sha256), release_notes(document)}}};
}

std::string offer_text(const UpdateManifest& manifest, std::string_view own_version) {
    std::string text = "发现Lumaro ";
    text += manifest.version;
    text += "（当前 ";
    text += own_version;
    text += "）。";
    if (!manifest.notes.empty()) {
        text += "\n\n";
        text += manifest.notes;
    }
    text += "\n\n下载并重启以安装更新？请先复制或保存正在编辑的内容。";
    return text;
}
