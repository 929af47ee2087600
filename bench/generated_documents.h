// Generated stand-ins for missing corpus files (deterministic): documents of
// the same shape as twitter.json, citm_catalog.json and canada.json, of about
// `target` bytes.
#pragma once

#include <cstddef>
#include <string>

namespace bench {

std::string generate_tweets(std::size_t target);
std::string generate_catalog(std::size_t target);
std::string generate_coordinates(std::size_t target);

}  // namespace bench
