#include "updates/http/winhttp_transport_win.h"

#include <algorithm>

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

}  // namespace

WinHttpTransport::~WinHttpTransport() {
    close_request();
    close_handle(session_);
}

std::optional<std::string> WinHttpTransport::open_session() {
    session_ = WinHttpOpen(L"Lumaro-Updater", WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, WINHTTP_NO_PROXY_NAME,
                           WINHTTP_NO_PROXY_BYPASS, 0);
    if (!session_) return last_error_text();
    if (!WinHttpSetTimeouts(session_, 8000, 8000, 10000, 15000)) return last_error_text();
    return std::nullopt;
}

std::variant<unsigned, std::string> WinHttpTransport::send_request(const std::string& host, std::uint16_t port,
                                                                   const std::string& path) {
    close_request();
    connection_ = WinHttpConnect(session_, widen_ascii(host).c_str(), port, 0);
    if (!connection_) return last_error_text();
    request_ = WinHttpOpenRequest(connection_, L"GET", widen_ascii(path).c_str(), nullptr, WINHTTP_NO_REFERER,
                                  WINHTTP_DEFAULT_ACCEPT_TYPES,
                                  WINHTTP_FLAG_SECURE | WINHTTP_FLAG_REFRESH | WINHTTP_FLAG_ESCAPE_DISABLE |
                                      WINHTTP_FLAG_ESCAPE_DISABLE_QUERY);
    if (!request_) return last_error_text();
    // Every redirect goes through the host rule, so the service must not follow any itself.
    DWORD disable = WINHTTP_DISABLE_REDIRECTS;
    if (!WinHttpSetOption(request_, WINHTTP_OPTION_DISABLE_FEATURE, &disable, sizeof disable)) return last_error_text();
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

std::variant<std::size_t, std::string> WinHttpTransport::read(std::span<std::uint8_t> piece) {
    // A read may wait until the whole piece has arrived (Wine's does), so a server trickling bytes
    // would hold the loop far past its deadline: take only what has arrived, at least one byte.
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
