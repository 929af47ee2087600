#include "updates/http/host_rule.h"

#include <algorithm>

#include "updates/update_messages.h"

std::variant<AddressParts, std::string> check_address(std::string_view address,
                                                      std::span<const std::string> trusted_hosts) {
    constexpr std::string_view scheme = "https://";
    if (!address.starts_with(scheme)) return std::string(address_invalid);
    std::string_view rest = address.substr(scheme.size());
    std::size_t slash = rest.find('/');
    if (slash == std::string_view::npos) return std::string(address_invalid);
    std::string_view host = rest.substr(0, slash);
    std::string_view path = rest.substr(slash);
    bool trusted = std::any_of(trusted_hosts.begin(), trusted_hosts.end(),
                               [&](const std::string& h) { return h == host; });
    bool plain_path = path.size() > 1 && std::all_of(path.begin(), path.end(), [](char c) {
        return c >= 0x21 && c <= 0x7E && c != '#' && c != '\\';
    });
    if (!trusted || !plain_path) return std::string(address_untrusted);
    return AddressParts{std::string(host), std::string(path)};
}

std::string redirect_target(std::string_view current_host, std::string_view location) {
    if (location.starts_with('/') && !location.starts_with("//"))
        return "https://" + std::string(current_host) + std::string(location);
    return std::string(location);
}
