// Compiled twice (see CMakeLists.txt): plain, and with LUMARO_PEER_SSE2 which
// turns on RapidJSON's SSE2 paths and moves it to a namespace of its own so
// the two copies of the templates never collide.
#include "rapidjson_peer.h"

#if defined(LUMARO_PEER_SSE2)
#define RAPIDJSON_SSE2
#define RAPIDJSON_NAMESPACE rapidjson_sse2
#define RAPIDJSON_NAMESPACE_BEGIN namespace rapidjson_sse2 {
#define RAPIDJSON_NAMESPACE_END }
#endif

#include <rapidjson/document.h>
#include <rapidjson/prettywriter.h>
#include <rapidjson/reader.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

namespace {

namespace rj = RAPIDJSON_NAMESPACE;

std::size_t pretty(const std::string& text) {
    rj::StringBuffer out;
    rj::PrettyWriter<rj::StringBuffer> writer(out);
    writer.SetIndent(' ', 2);
    rj::Reader reader;
    rj::StringStream in(text.c_str());
    if (!reader.Parse(in, writer)) return 0;
    return out.GetSize();
}

std::size_t compact(const std::string& text) {
    rj::StringBuffer out;
    rj::Writer<rj::StringBuffer> writer(out);
    rj::Reader reader;
    rj::StringStream in(text.c_str());
    if (!reader.Parse(in, writer)) return 0;
    return out.GetSize();
}

bool dom(const std::string& text) {
    rj::Document document;
    document.Parse(text.c_str());
    return !document.HasParseError();
}

bool dom_insitu(char* buffer) {
    rj::Document document;
    document.ParseInsitu(buffer);
    return !document.HasParseError();
}

}  // namespace

namespace peer {
#if defined(LUMARO_PEER_SSE2)
const RapidJsonApi rapidjson_sse2 = {pretty, compact, dom, dom_insitu};
#else
const RapidJsonApi rapidjson_default = {pretty, compact, dom, dom_insitu};
#endif
}  // namespace peer
