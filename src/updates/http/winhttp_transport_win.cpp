#include "updates/http/winhttp_transport_win.h"

#include <algorithm>
#include <climits>

#include "ui/system_error_win.h"

namespace {

std::string last_error_text() { return system_error_text(GetLastError()); }

// Host and path have passed the host rule: printable ASCII only.
std::wstring widen_ascii(const std::string& text) { return std::wstring(text.begin(), text.end()); }

void close_handle(HINTERNET& handle) {
    if (handle) WinHttpCloseHandle(handle);
    handle = nullptr;
}

constexpr std::size_t location_units = 8192;  // 16,384 bytes with the terminator

constexpr int resolve_ms = 8000, connect_ms = 8000, send_ms = 10'000, receive_ms = 15'000;

int bounded(int fixed_ms, std::chrono::milliseconds time_left) {
    return static_cast<int>(std::min<std::chrono::milliseconds::rep>(fixed_ms, time_left.count()));
}

// The fixed time-outs bound each wait; what is left of the deadline bounds
// them too, and the whole response head (a server may trickle its headers a
// byte at a time, which no single receive time-out would catch).
bool bound_request(HINTERNET request, std::chrono::milliseconds time_left) {
    DWORD head_ms = static_cast<DWORD>(bounded(INT_MAX, time_left));
    return WinHttpSetTimeouts(request, bounded(resolve_ms, time_left), bounded(connect_ms, time_left),
                              bounded(send_ms, time_left), bounded(receive_ms, time_left)) &&
           WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &head_ms, sizeof head_ms);
}

}  // namespace

WinHttpTransport::~WinHttpTransport() {
    close_request();
    close_handle(session_);
}

std::optional<std::string> WinHttpTransport::open_session() {
    session_ = WinHttpOpen(L"Lumaro-Updater", WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, WINHTTP_NO_PROXY_NAME,
                           WINHTTP_NO_PROXY_BYPASS, 0);
    if (!session_) return last_error_text();
    if (!WinHttpSetTimeouts(session_, resolve_ms, connect_ms, send_ms, receive_ms)) return last_error_text();
    return std::nullopt;
}

std::variant<unsigned, std::string> WinHttpTransport::send_request(const std::string& host, std::uint16_t port,
                                                                   const std::string& path,
                                                                   std::chrono::milliseconds time_left) {
    close_request();
    connection_ = WinHttpConnect(session_, widen_ascii(host).c_str(), port, 0);
    if (!connection_) return last_error_text();
    request_ = WinHttpOpenRequest(connection_, L"GET", widen_ascii(path).c_str(), nullptr, WINHTTP_NO_REFERER,
                                  WINHTTP_DEFAULT_ACCEPT_TYPES,
                                  WINHTTP_FLAG_SECURE | WINHTTP_FLAG_REFRESH | WINHTTP_FLAG_ESCAPE_DISABLE |
                                      WINHTTP_FLAG_ESCAPE_DISABLE_QUERY);
    if (!request_) return last_error_text();
    // Every redirect goes through the host rule, so the service must not follow
    // any itself. Nothing of one answer goes back in the next request, and no
    // credentials of the user go to any server.
    DWORD disable = WINHTTP_DISABLE_REDIRECTS | WINHTTP_DISABLE_COOKIES | WINHTTP_DISABLE_AUTHENTICATION;
    DWORD never = WINHTTP_AUTOLOGON_SECURITY_LEVEL_HIGH;
    if (!WinHttpSetOption(request_, WINHTTP_OPTION_DISABLE_FEATURE, &disable, sizeof disable) ||
        !WinHttpSetOption(request_, WINHTTP_OPTION_AUTOLOGON_POLICY, &never, sizeof never) ||
        !bound_request(request_, time_left))
        return last_error_text();
    if (!WinHttpSendRequest(request_, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0))
        return last_error_text();
    if (!WinHttpReceiveResponse(request_, nullptr)) return last_error_text();
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!WinHttpQueryHeaders(request_, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX))
        return last_error_text();
    return static_cast<unsigned>(status);
}

std::variant<std::u16string, std::string> WinHttpTransport::location() {
    std::wstring buffer(location_units, L'\0');
    DWORD size = static_cast<DWORD>(location_units * sizeof(wchar_t));
    if (!WinHttpQueryHeaders(request_, WINHTTP_QUERY_LOCATION, WINHTTP_HEADER_NAME_BY_INDEX, buffer.data(), &size,
                             WINHTTP_NO_HEADER_INDEX))
        return last_error_text();
    buffer.resize(size / sizeof(wchar_t));
    return std::u16string(buffer.begin(), buffer.end());
}

std::variant<std::size_t, std::string> WinHttpTransport::read(std::span<std::uint8_t> piece,
                                                              std::chrono::milliseconds time_left) {
    // A read may wait until the whole piece has arrived (Wine's does), so a server trickling bytes
    // would hold the loop far past its deadline: take only what has arrived, at least one byte.
    DWORD wait_ms = static_cast<DWORD>(bounded(receive_ms, time_left));
    if (!WinHttpSetOption(request_, WINHTTP_OPTION_RECEIVE_TIMEOUT, &wait_ms, sizeof wait_ms))
        return last_error_text();
    DWORD available = 0;
    if (!WinHttpQueryDataAvailable(request_, &available)) return last_error_text();
    if (available == 0) return std::size_t{0};
    const DWORD wanted = std::min(available, static_cast<DWORD>(piece.size()));
    DWORD got = 0;
    if (!WinHttpReadData(request_, piece.data(), wanted, &got)) return last_error_text();
    return static_cast<std::size_t>(got);
}

void WinHttpTransport::close_request() {
    close_handle(request_);
    close_handle(connection_);
}

FetchResult fetch_url_with(const FetchSettings& settings, const std::string& address, std::uint64_t limit) {
    WinHttpTransport transport;
    return fetch_with(transport, settings, address, limit);
}

FetchResult fetch_url(const std::string& address, std::uint64_t limit) {
    static const FetchSettings settings = release_fetch_settings();
    return fetch_url_with(settings, address, limit);
}
