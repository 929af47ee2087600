// Unescape over arbitrary bytes: a decoded text or its one positioned message.
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "json/json_format.h"
#include "json/json_literal.h"
#include "json/json_messages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    auto r = format_json(text, JsonMode::unescape);
    if (auto* e = std::get_if<JsonError>(&r)) {
        const char* only[] = {json_messages::unescape_failed};
        FUZZ_CHECK(error_is_one_of(text, *e, only, 1));
        return 0;
    }
    const std::string& decoded = std::get<std::string>(r);
    FUZZ_CHECK(is_valid_utf8(decoded));
    auto again = format_json(escape_json_text(decoded), JsonMode::unescape);
    FUZZ_CHECK(std::holds_alternative<std::string>(again) && std::get<std::string>(again) == decoded);
    return 0;
}
