// The pretty form's memory: one call holds at most its input, its output (or
// the 24 MiB limit when it refuses) and 1 MiB, whatever the document's layout.
#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "heap_peak.h"
#include "json/json_format.h"
#include "json/json_messages.h"

namespace {

// An object indented by eight spaces, which the pretty form shrinks.
std::string indented_part(std::size_t bytes) {
    std::string s = "{";
    for (int i = 0; s.size() < bytes; ++i)
        s += "\n        \"k" + std::to_string(i) + "\": \"Arri\xC3\xA8re-sc\xC3\xA8ne central\",";
    s.back() = '\n';
    return s + "}";
}

// Compact rings of short coordinate pairs, which it expands about fourfold.
std::string compact_part(std::size_t bytes) {
    std::string s = "[[";
    for (int i = 0; s.size() < bytes; ++i) s += "[-65." + std::to_string(i % 97) + ",43.42],";
    s.back() = ']';
    return s + "]";
}

std::string layered(std::size_t indented, std::size_t compact, int copies) {
    std::string ring = compact_part(compact);
    std::string doc = "{\"a\":" + indented_part(indented) + ",\"b\":[" + ring;
    for (int i = 1; i < copies; ++i) doc += "," + ring;
    return doc + "]}";
}

constexpr std::size_t mib = 1024 * 1024;

TEST(PrettyMemory, HeapPeakOfIndentedThenCompactDocuments) {
    struct Case {
        std::string doc;
        bool refused;
    };
    const Case cases[] = {
        {layered(1'700'000, 2'100'000, 4), true},  // about 10 MiB, pretty form over 24 MiB
        {layered(1'700'000, 1'000'000, 2), false},
    };
    for (const Case& c : cases) {
        std::variant<std::string, JsonError> result;
        std::size_t peak = heap_peak_of([&] { result = format_json(c.doc, JsonMode::format); });
        const auto* error = std::get_if<JsonError>(&result);
        ASSERT_EQ(error != nullptr, c.refused) << c.doc.size();
        std::size_t output = c.refused ? json_pretty_limit : std::get<std::string>(result).size();
        if (c.refused) {
            EXPECT_EQ(error->message, json_messages::pretty_too_large);
        }
        EXPECT_LE(peak, output + mib) << "input " << c.doc.size();
    }
}

}  // namespace
