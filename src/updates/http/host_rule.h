#pragma once

// Which addresses the update client may request: HTTPS to one of the trusted
// hosts, no user information, no port, a plain printable path.

#include <span>
#include <string>
#include <string_view>
#include <variant>

struct AddressParts {
    std::string host;
    std::string path;  // from the first "/" on, query included
};

// The host and path of an acceptable address, or the message why it is not.
std::variant<AddressParts, std::string> check_address(std::string_view address,
                                                      std::span<const std::string> trusted_hosts);

// The address a redirect leads to from current_host: an absolute path (one
// leading "/") stays on the same host; anything else is taken as it is and
// left to check_address ("//host/..." included, which it refuses).
std::string redirect_target(std::string_view current_host, std::string_view location);
