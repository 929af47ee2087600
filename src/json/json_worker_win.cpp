#include "json/json_worker_win.h"

#include <exception>
#include <thread>

#include "json/caret_mapping.h"
#include "json/control_text.h"
#include "json_history/siphash.h"
#include "ui/app_message.h"

namespace {

HistoryUpdate remember(std::string_view text) {
    auto saved = save_history(text);
    if (auto* listing = std::get_if<JsonHistoryListing>(&saved)) return std::move(*listing);
    return std::get<HistoryError>(std::move(saved));
}

// The result box's text of a text output, unless the input box's
// replacement already is exactly that.
void prepare_shown_output(JsonSuccess& ok) {
    const auto* text = std::get_if<std::string>(&ok.output);
    if (!text) return;
    if (ok.replace_input && text->find('\0') == std::string::npos) return;
    ok.shown_output = to_control_text(*text, true);
}

JsonResult compute(TransformJob& job) {
    const std::string text = control_text_to_utf8(job.input);
    std::u16string().swap(job.input);  // the UTF-8 copy is all that is needed from here
    auto out = format_json(text, job.mode);
    if (auto* e = std::get_if<JsonError>(&out)) return std::move(*e);
    JsonSuccess ok;
    ok.output = std::get<std::string>(std::move(out));
    if (job.mode == JsonMode::format || job.mode == JsonMode::compact) ok.history_update = remember(text);
    prepare_shown_output(ok);
    return ok;
}

JsonResult compute(AutoFormatJob& job) {
    const std::string text = control_text_to_utf8(job.input);
    std::u16string().swap(job.input);
    auto formatted = format_json(text, JsonMode::format);
    if (auto* e = std::get_if<JsonError>(&formatted)) return std::move(*e);
    std::string out = std::get<std::string>(std::move(formatted));

    JsonSuccess ok;
    bool already_pretty = same_up_to_line_breaks(text, out);
    bool too_big = !already_pretty && out.size() > replacement_check_bytes && !fits_input_box(out);
    if (!already_pretty && !too_big) {
        std::uint64_t h = content_hash(text);
        // The user brought back the very text that was replaced last time
        // (by undo, say): leave it alone.
        if (job.previous_hash != h) {
            ok.replace_input = true;
            ok.input_hash = h;
            SelectionRange mapped =
                map_selection(text, out, {job.selection_start, job.selection_end}, job.rich_positions);
            ok.selection_start = mapped.start;
            ok.selection_end = mapped.end;
            ok.replacement = to_control_text(out, false);
        }
    }
    ok.history_update = remember(text);
    if (job.build_tree) {
        auto tree = build_json_tree(std::move(out));
        if (auto* e = std::get_if<JsonError>(&tree)) return std::move(*e);
        ok.output = std::get<JsonTree>(std::move(tree));
    } else {
        ok.output = std::move(out);
    }
    prepare_shown_output(ok);
    return ok;
}

JsonResult compute(RestoreJob& job) {
    auto loaded = load_history_record(job.entry.path);
    if (!std::holds_alternative<std::string>(loaded)) return plain_json_error("无法读取这条历史记录。");
    const std::string text = std::get<std::string>(std::move(loaded));
    auto formatted = format_json(text, JsonMode::format);
    if (auto* e = std::get_if<JsonError>(&formatted)) return std::move(*e);
    JsonSuccess ok;
    ok.output = std::get<std::string>(std::move(formatted));
    ok.restored_text = to_control_text(text, false);
    prepare_shown_output(ok);
    return ok;
}

JsonResult compute(BuildTreeJob& job) {
    std::string text = job.from_result ? std::move(job.result) : control_text_to_utf8(job.input);
    std::u16string().swap(job.input);
    auto tree = build_json_tree(std::move(text));
    if (auto* e = std::get_if<JsonError>(&tree)) return std::move(*e);
    JsonSuccess ok;
    JsonTree& built = std::get<JsonTree>(tree);
    // The tree keeps the text byte for byte, so it is what gets remembered.
    if (!job.from_result) ok.history_update = remember(built.text);
    ok.output = std::move(built);
    return ok;
}

}  // namespace

JsonResult compute_json_result(JsonJob job) {
    return std::visit([](auto& j) { return compute(j); }, job);
}

void run_json_job(JsonJob job, std::shared_ptr<JsonResultChannel> channel, HWND page) {
    bool listening = true;
    try {
        listening = channel->send(compute_json_result(std::move(job)));
    } catch (...) {
        // Nothing to hand over; the post below lets the page say so.
    }
    channel->close_sender();
    if (listening) PostMessageW(page, message_id(AppMessage::JsonResultReady), 0, 0);
}

bool start_json_worker(JsonJob job, std::shared_ptr<JsonResultChannel> channel, HWND page) {
    try {
        std::thread(run_json_job, std::move(job), std::move(channel), page).detach();
        return true;
    } catch (...) {
        return false;
    }
}
