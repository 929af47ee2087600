#include "yyjson_peer.h"

#include <yyjson.h>

#include <cstdlib>

namespace peer {

namespace {

constexpr yyjson_read_flag read_flags = YYJSON_READ_NUMBER_AS_RAW;

std::size_t read_and_write(const std::string& text, yyjson_write_flag flags, std::string* keep) {
    yyjson_doc* doc = yyjson_read(text.data(), text.size(), read_flags);
    if (doc == nullptr) return 0;
    std::size_t length = 0;
    char* out = yyjson_write(doc, flags, &length);
    yyjson_doc_free(doc);
    if (out == nullptr) return 0;
    if (keep != nullptr) keep->assign(out, length);
    std::free(out);
    return length;
}

}  // namespace

std::size_t yyjson_pretty(const std::string& text, std::string* keep) {
    return read_and_write(text, YYJSON_WRITE_PRETTY_TWO_SPACES, keep);
}

std::size_t yyjson_compact(const std::string& text, std::string* keep) {
    return read_and_write(text, YYJSON_WRITE_NOFLAG, keep);
}

bool yyjson_dom(const std::string& text) {
    yyjson_doc* doc = yyjson_read(text.data(), text.size(), read_flags);
    if (doc == nullptr) return false;
    yyjson_doc_free(doc);
    return true;
}

}  // namespace peer
