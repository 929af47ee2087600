#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <variant>

#include "json/json_error.h"
#include "json/json_format.h"
#include "json/json_tree.h"
#include "json_history/json_history.h"

// What the JSON page asks its worker to do, one job per thread. The input
// box's text travels as the control holds it (UTF-16, CR LF): making UTF-8 of
// a full box takes longer than the page may keep the user waiting.
struct TransformJob {
    JsonMode mode = JsonMode::format;
    std::u16string input;
};
struct AutoFormatJob {
    std::u16string input;
    std::optional<std::uint64_t> previous_hash;  // hash of the page's last automatic replacement
    std::uint32_t selection_start = 0;  // in the control's units
    std::uint32_t selection_end = 0;
    bool build_tree = false;      // the tree view is showing
    bool rich_positions = false;  // the input is a rich-edit control
};
struct RestoreJob {
    JsonHistoryEntry entry;
};
struct BuildTreeJob {
    std::u16string input;
    std::string result;        // used instead of input when from_result
    bool from_result = false;  // the page's result, not its input: not remembered
};
using JsonJob = std::variant<TransformJob, AutoFormatJob, RestoreJob, BuildTreeJob>;

// No save was made; the listing after a save; or why the save failed.
using HistoryUpdate = std::variant<std::monostate, JsonHistoryListing, HistoryError>;

// Texts meant for the page's controls come ready for them (CR LF, NUL shown
// as U+2400 in the result box only), so that the page merely hands them over.
struct JsonSuccess {
    std::variant<std::string, JsonTree> output;
    // A text output as the result box shows it; none when it is the
    // replacement unchanged, or the output is a tree.
    std::optional<std::u16string> shown_output;
    bool replace_input = false;
    std::u16string replacement;  // the output for the input box, with replace_input
    std::uint32_t selection_start = 0;  // the caret after the replacement, in the control's units
    std::uint32_t selection_end = 0;
    std::uint64_t input_hash = 0;  // of the replaced input's UTF-8
    std::optional<std::u16string> restored_text;  // a history record for the input box
    HistoryUpdate history_update;
};
using JsonResult = std::variant<JsonSuccess, JsonError>;

// Outputs above this size are checked against the input box's capacity.
inline constexpr std::size_t replacement_check_bytes = 8'388'608;
inline constexpr std::uint64_t replacement_limit = 16'777'216;

// Whether an output of this many UTF-16 units, with each LF becoming CR LF,
// fits into the page's text controls.
bool fits_input_box(std::string_view output);

// A one-shot hand-over of one result from the worker to the page. The page
// polls without blocking; the worker learns whether the page still listens.
class JsonResultChannel {
public:
    // false: the page has gone and the result was dropped
    bool send(JsonResult result);
    std::optional<JsonResult> try_take();
    bool sender_gone() const;
    void close_receiver();
    void close_sender();

private:
    mutable std::mutex lock_;
    std::optional<JsonResult> result_;
    bool receiver_open_ = true;
    bool sender_open_ = true;
};

// The receiving and sending ends; dropping an end closes it.
struct JsonResultReceiver {
    std::shared_ptr<JsonResultChannel> channel;
    ~JsonResultReceiver() {
        if (channel) channel->close_receiver();
    }
};
