#include "json/json_job.h"

bool fits_input_box(std::string_view output) {
    std::uint64_t units = 0;
    for (char ch : output) {
        auto c = static_cast<unsigned char>(ch);
        if ((c & 0xC0) == 0x80) continue;
        units += c >= 0xF0 ? 2 : 1;
        if (c == '\n') ++units;
    }
    return units <= replacement_limit;
}

bool JsonResultChannel::send(JsonResult result) {
    std::lock_guard<std::mutex> guard(lock_);
    if (!receiver_open_) return false;
    result_ = std::move(result);
    return true;
}

std::optional<JsonResult> JsonResultChannel::try_take() {
    std::lock_guard<std::mutex> guard(lock_);
    std::optional<JsonResult> taken = std::move(result_);
    result_.reset();
    return taken;
}

bool JsonResultChannel::sender_gone() const {
    std::lock_guard<std::mutex> guard(lock_);
    return !sender_open_;
}

void JsonResultChannel::close_receiver() {
    std::lock_guard<std::mutex> guard(lock_);
    receiver_open_ = false;
    result_.reset();
}

void JsonResultChannel::close_sender() {
    std::lock_guard<std::mutex> guard(lock_);
    sender_open_ = false;
}
