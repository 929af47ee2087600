#pragma once

// The update client's request loop: its own redirects under the host rule, a
// hard size limit and an overall deadline. The network calls sit behind
// HttpTransport so that the loop is the same code under test and in use.

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

using Bytes = std::vector<std::uint8_t>;
// The whole body, or the message to show.
using FetchResult = std::variant<Bytes, std::string>;

struct FetchSettings {
    std::vector<std::string> trusted_hosts;
    std::uint16_t port = 443;
    std::chrono::milliseconds deadline{120'000};
};

// The release hosts, port 443 and 120 seconds.
FetchSettings release_fetch_settings();

inline constexpr int max_redirects = 5;
inline constexpr std::size_t read_piece_bytes = 16'384;

// One session's network calls. A failure is the system error text (as
// system_error_text formats it). Whatever is open is closed by close_request
// (the request and its connection) and by the destructor (the session).
// time_left is what remains of the caller's deadline: a call that blocks
// gives up once it has passed.
class HttpTransport {
public:
    virtual ~HttpTransport() = default;
    virtual std::optional<std::string> open_session() = 0;
    // Connects, sends a GET for path and receives the response head.
    virtual std::variant<unsigned, std::string> send_request(const std::string& host, std::uint16_t port,
                                                             const std::string& path,
                                                             std::chrono::milliseconds time_left) = 0;
    virtual std::variant<std::u16string, std::string> location() = 0;
    // 0 at the end of the body.
    virtual std::variant<std::size_t, std::string> read(std::span<std::uint8_t> piece,
                                                        std::chrono::milliseconds time_left) = 0;
    virtual void close_request() = 0;
};

using SteadyNow = std::function<std::chrono::steady_clock::time_point()>;

FetchResult fetch_with(HttpTransport& transport, const FetchSettings& settings, const std::string& address,
                       std::uint64_t limit, const SteadyNow& now = std::chrono::steady_clock::now);

// UTF-16 to UTF-8, or nothing when a surrogate is unpaired.
std::optional<std::string> strict_utf8(std::u16string_view utf16);
