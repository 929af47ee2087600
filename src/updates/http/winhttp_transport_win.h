#pragma once

#include <windows.h>
#include <winhttp.h>

#include <string>

#include "updates/http/fetch.h"

// HttpTransport over the system's WinHTTP service with the client's fixed
// settings: agent "Lumaro-Updater", the automatic proxy, the four time-outs,
// GET over TLS without cache, escaping, automatic redirects, cookies or
// credentials.
class WinHttpTransport final : public HttpTransport {
public:
    WinHttpTransport() = default;
    ~WinHttpTransport() override;
    WinHttpTransport(const WinHttpTransport&) = delete;
    WinHttpTransport& operator=(const WinHttpTransport&) = delete;

    std::optional<std::string> open_session() override;
    std::variant<unsigned, std::string> send_request(const std::string& host, std::uint16_t port,
                                                     const std::string& path,
                                                     std::chrono::milliseconds time_left) override;
    std::variant<std::u16string, std::string> location() override;
    std::variant<std::size_t, std::string> read(std::span<std::uint8_t> piece,
                                                std::chrono::milliseconds time_left) override;
    void close_request() override;

private:
    HINTERNET session_ = nullptr;
    HINTERNET connection_ = nullptr;
    HINTERNET request_ = nullptr;
};

// The whole body of address, at most limit bytes, or the message to show.
// Blocking: for the update thread only.
FetchResult fetch_url(const std::string& address, std::uint64_t limit);
// The same with other hosts, port or deadline (used by the tests).
FetchResult fetch_url_with(const FetchSettings& settings, const std::string& address, std::uint64_t limit);
