#include "updates/http/fetch.h"

#include <algorithm>

#include "ui/text_convert.h"
#include "updates/http/host_rule.h"
#include "updates/update_config.h"
#include "updates/update_messages.h"

namespace {

std::string connect_failure(const std::string& system_text) { return std::string(cannot_connect) + system_text; }

// Closes the request and its connection however the hop ends.
class RequestGuard {
public:
    explicit RequestGuard(HttpTransport& transport) : transport_(transport) {}
    ~RequestGuard() { transport_.close_request(); }
    RequestGuard(const RequestGuard&) = delete;
    RequestGuard& operator=(const RequestGuard&) = delete;

private:
    HttpTransport& transport_;
};

bool is_redirect(unsigned status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The whole fetch's time bound. A transport call that fails once it has
// passed failed because it was cut short, so it reports the time-out.
class Deadline {
public:
    Deadline(const SteadyNow& now, std::chrono::milliseconds span) : now_(now), end_(now() + span) {}
    bool passed() const { return now_() >= end_; }
    // At least a millisecond: a transport reads 0 as no bound at all.
    std::chrono::milliseconds left() const {
        return std::max(std::chrono::milliseconds(1),
                        std::chrono::duration_cast<std::chrono::milliseconds>(end_ - now_()));
    }
    std::string failure(const std::string& system_text) const {
        return passed() ? std::string(download_timed_out) : connect_failure(system_text);
    }

private:
    const SteadyNow& now_;
    std::chrono::steady_clock::time_point end_;
};

FetchResult read_body(HttpTransport& transport, const Deadline& deadline, std::uint64_t limit) {
    Bytes body;
    std::vector<std::uint8_t> piece(read_piece_bytes);
    for (;;) {
        if (deadline.passed()) return std::string(download_timed_out);
        auto read = transport.read(piece, deadline.left());
        if (auto* error = std::get_if<std::string>(&read)) return deadline.failure(*error);
        std::size_t n = std::get<std::size_t>(read);
        if (n == 0) return body;
        if (n > piece.size() || body.size() + n > limit) return std::string(body_too_large);
        body.insert(body.end(), piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(n));
    }
}

}  // namespace

FetchSettings release_fetch_settings() {
    FetchSettings settings;
    settings.trusted_hosts.assign(trusted_release_hosts.begin(), trusted_release_hosts.end());
    return settings;
}

std::optional<std::string> strict_utf8(std::u16string_view utf16) {
    // utf16_to_utf8 would stand U+FFFD in for a lone surrogate; an address holding one is refused instead.
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char16_t u = utf16[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF)
            ++i;
        else if (u >= 0xD800 && u <= 0xDFFF)
            return std::nullopt;
    }
    return utf16_to_utf8(utf16);
}

FetchResult fetch_with(HttpTransport& transport, const FetchSettings& settings, const std::string& address,
                       std::uint64_t limit, const SteadyNow& now) {
    if (auto error = transport.open_session()) return connect_failure(*error);
    const Deadline deadline(now, settings.deadline);
    std::string current = address;
    for (int hop = 0; hop <= max_redirects; ++hop) {
        if (deadline.passed()) return std::string(download_timed_out);
        auto checked = check_address(current, settings.trusted_hosts);
        if (auto* message = std::get_if<std::string>(&checked)) return *message;
        const AddressParts& parts = std::get<AddressParts>(checked);

        RequestGuard request(transport);
        auto sent = transport.send_request(parts.host, settings.port, parts.path, deadline.left());
        if (auto* error = std::get_if<std::string>(&sent)) return deadline.failure(*error);
        const unsigned status = std::get<unsigned>(sent);
        if (is_redirect(status)) {
            auto location = transport.location();
            if (auto* error = std::get_if<std::string>(&location)) return connect_failure(*error);
            std::optional<std::string> text = strict_utf8(std::get<std::u16string>(location));
            if (!text) return std::string(location_unreadable);
            if (hop == max_redirects) return std::string(too_many_redirects);
            current = redirect_target(parts.host, *text);
            continue;
        }
        if (status == 200) return read_body(transport, deadline, limit);
        return "GitHub 更新服务返回 HTTP " + std::to_string(status) + "。";
    }
    return std::string(too_many_redirects);  // not reached: the last hop returns above
}
