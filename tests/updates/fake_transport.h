#pragma once

// A scripted HttpTransport: responses by host and path, every call counted.

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "updates/http/fetch.h"

struct FakeResponse {
    unsigned status = 200;
    std::u16string location = {};
    std::vector<std::string> pieces = {};  // what successive reads return
    std::string send_error = {};        // a system error text for the request
    std::string read_error = {};
    std::chrono::milliseconds per_read{0};  // how long each read takes
    std::chrono::milliseconds per_send{0};  // how long connecting and the response head take
    std::string location_error = {};
};

class FakeTransport : public HttpTransport {
public:
    std::map<std::string, FakeResponse> responses;  // "host/path"
    std::string session_error;
    std::vector<std::string> requested;
    int sessions_open = 0;
    int requests_open = 0;
    std::uint16_t last_port = 0;
    std::chrono::steady_clock::time_point clock{};
    std::vector<long long> time_left_ms;  // given to each blocking call

    ~FakeTransport() override = default;

    std::optional<std::string> open_session() override {
        if (!session_error.empty()) return session_error;
        ++sessions_open;
        return std::nullopt;
    }
    std::variant<unsigned, std::string> send_request(const std::string& host, std::uint16_t port,
                                                     const std::string& path,
                                                     std::chrono::milliseconds time_left) override {
        ++requests_open;
        time_left_ms.push_back(time_left.count());
        last_port = port;
        requested.push_back(host + path);
        auto it = responses.find(host + path);
        if (it == responses.end()) return 404u;
        current_ = &it->second;
        next_piece_ = 0;
        // A transport that honours time_left ends its wait there.
        clock += std::min(current_->per_send, time_left);
        if (current_->per_send > time_left) return std::string("timed out (os error 12002)");
        if (!current_->send_error.empty()) return current_->send_error;
        return current_->status;
    }
    std::variant<std::u16string, std::string> location() override {
        if (!current_->location_error.empty()) return current_->location_error;
        return current_->location;
    }
    std::variant<std::size_t, std::string> read(std::span<std::uint8_t> piece,
                                                std::chrono::milliseconds time_left) override {
        time_left_ms.push_back(time_left.count());
        clock += current_->per_read;
        if (!current_->read_error.empty()) return current_->read_error;
        if (next_piece_ >= current_->pieces.size()) return std::size_t{0};
        const std::string& p = current_->pieces[next_piece_++];
        std::size_t n = std::min(p.size(), piece.size());
        std::copy_n(p.begin(), n, piece.begin());
        return n;
    }
    void close_request() override {
        --requests_open;
        current_ = nullptr;
    }
    SteadyNow now() {
        return [this] { return clock; };
    }

private:
    FakeResponse* current_ = nullptr;
    std::size_t next_piece_ = 0;
};
