#pragma once

// The RapidJSON peer, compiled twice from rapidjson_peer.cpp: once as Debian's
// header-only package builds by default (no SIMD) and once with RAPIDJSON_SSE2
// in a namespace of its own, so both can live in one binary.

#include <cstddef>
#include <string>

namespace peer {

struct RapidJsonApi {
    // Reader + PrettyWriter (2-space indent) into a fresh StringBuffer; returns
    // the output size, or 0 on a parse error.
    std::size_t (*pretty)(const std::string& text);
    // Reader + Writer into a fresh StringBuffer; same result convention.
    std::size_t (*compact)(const std::string& text);
    // A fresh Document, Parse(text.c_str()) with the default flags; the
    // Document is destroyed before returning. False on a parse error.
    bool (*dom)(const std::string& text);
    // A fresh Document, ParseInsitu(buffer) (the buffer is overwritten).
    bool (*dom_insitu)(char* buffer);
};

extern const RapidJsonApi rapidjson_default;
extern const RapidJsonApi rapidjson_sse2;

}  // namespace peer
