#include "json/json_page_win.h"

#include <commctrl.h>
#include <imm.h>
#include <richedit.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "json/control_text.h"
#include "json/json_clipboard_win.h"
#include "json/json_job.h"
#include "json/json_page_layout.h"
#include "json/json_page_messages.h"
#include "json/json_page_text.h"
#include "json/json_tree_view_win.h"
#include "json/json_worker_win.h"
#include "ui/app_message.h"
#include "ui/controls_win.h"
#include "ui/page_layout.h"
#include "ui/ui_resources_win.h"

namespace msg = json_page_messages;
namespace ids = json_page_ids;

namespace {

enum class JobKind { transform, auto_format, restore, build_tree };

// The running job as far as the page needs it once the result is back.
struct RunningJob {
    std::unique_ptr<JsonResultReceiver> receiver;
    JobKind kind = JobKind::transform;
    JsonMode mode = JsonMode::format;
    bool from_result = false;
    DWORD selection_start = 0;
    DWORD selection_end = 0;
    std::uint64_t job_generation = 0;
};

using PageResult = std::variant<std::monostate, std::string, JsonTree>;

const std::string& text_of(const PageResult& result) {
    static const std::string none;
    if (auto* text = std::get_if<std::string>(&result)) return *text;
    if (auto* tree = std::get_if<JsonTree>(&result)) return tree->text;
    return none;
}

const wchar_t* wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// read_text for documents of millions of characters: the units as they are,
// for the worker to make UTF-8 of. A spare buffer large enough is used
// instead of new memory: touching tens of megabytes of fresh pages for the
// first time takes longer than the copy itself.
std::u16string read_control_text(HWND control, std::u16string& spare) {
    std::u16string text = std::move(spare);
    spare = {};
    const int length = GetWindowTextLengthW(control);
    if (length <= 0) return {};
    text.clear();
    text.resize(static_cast<std::size_t>(length));
    // The terminating NUL goes where the string keeps its own.
    const int copied = GetWindowTextW(control, reinterpret_cast<wchar_t*>(text.data()), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

class JsonPage final : public PageVariant {
public:
    explicit JsonPage(HWND page);

    void layout(int width, int height) override;
    void command(WPARAM wparam) override;
    LRESULT notify(HWND page, WPARAM wparam, LPARAM lparam) override;
    bool handle(HWND page, UINT message, WPARAM wparam, LPARAM lparam) override;

private:
    void on_input_changed();
    void on_history_notification(int code);
    void replace_input(const std::u16string& text);
    void on_timer();
    void try_auto_format();
    void start_json_job(JsonJob job);
    void on_json_result();
    void apply_failure(const RunningJob& job, const JsonError& error);
    void apply_success(const RunningJob& job, JsonSuccess& success);
    void locate_error(bool take_focus);
    void toggle_view();
    void show_json_tree();
    void show_result_text(const std::u16string* converted = nullptr);
    void reset_result();
    void enable_controls();
    void set_history(JsonHistoryListing listing);
    void paste();
    void clear();
    void copy_json_result();
    void transform_command(JsonMode mode, bool allow_empty);

    bool job_running() const { return running_.has_value(); }
    bool result_current() const { return result_generation_ == edit_generation_; }
    bool composing() const;
    void start_idle_timer() { SetTimer(page_, json_idle_timer_id, json_idle_delay_ms, nullptr); }
    void stop_idle_timer() { KillTimer(page_, json_idle_timer_id); }
    void status(std::string_view text, bool is_error) { set_status(page_, text, is_error); }
    void set_view_text(const char* text) { SetWindowTextW(view_, to_wide(text).c_str()); }
    void show_text_pane();
    const JsonTree* current_tree() const { return std::get_if<JsonTree>(&result_); }

    HWND page_;
    HWND title_, format_, compact_, escape_, unescape_, history_box_;
    HWND input_label_, paste_, clear_, input_;
    HWND result_label_, view_, copy_, result_box_;
    JsonTreeView tree_;
    bool rich_input_ = false;
    std::u16string spare_;  // memory the next read of the input box may reuse

    JsonError error_;  // the last failed job's, for "定位错误"
    std::optional<std::uint64_t> previous_hash_;
    std::optional<RunningJob> running_;
    JsonHistoryListing history_;
    PageResult result_;
    std::uint64_t edit_generation_ = 0;
    std::uint64_t result_generation_ = 0;
    bool auto_pending_ = false;
    bool tree_showing_ = false;
    bool result_shown_ = true;
    std::optional<LRESULT> history_pick_;  // the item chosen in the open list, until it closes
    HWND busy_focus_ = nullptr;  // the control that had the focus when a job disabled it
};

JsonPage::JsonPage(HWND page)
    : page_(page),
      title_(create_control(page, ControlKind::PageTitle, page_titles[json_page], 0)),
      format_(create_control(page, ControlKind::PrimaryButton, "格式化", ids::format)),
      compact_(create_control(page, ControlKind::Button, "压缩", ids::compact)),
      escape_(create_control(page, ControlKind::Button, "转义", ids::escape)),
      unescape_(create_control(page, ControlKind::Button, "取消转义", ids::unescape)),
      history_box_(create_control(page, ControlKind::Dropdown, "", ids::history)),
      input_label_(create_control(page, ControlKind::SectionTitle, "输入文本", 0)),
      paste_(create_control(page, ControlKind::Button, "粘贴", ids::paste)),
      clear_(create_control(page, ControlKind::Button, "清空", ids::clear)),
      input_(create_control(page, ControlKind::TextArea, "", ids::input)),
      result_label_(create_control(page, ControlKind::SectionTitle, "处理结果", 0)),
      view_(create_control(page, ControlKind::Button, msg::view_tree, ids::view)),
      copy_(create_control(page, ControlKind::Button, "复制", ids::copy)),
      result_box_(create_control(page, ControlKind::ResultArea, "", 0)) {
    wchar_t class_name[32] = {};
    GetClassNameW(input_, class_name, 32);
    rich_input_ = lstrcmpiW(class_name, L"RICHEDIT50W") == 0;
    if (!rich_input_) paste_with_crlf_line_breaks(input_);

    tree_.create(page, reinterpret_cast<HFONT>(SendMessageW(result_label_, WM_GETFONT, 0, 0)));

    JsonHistoryListing listing;
    if (auto directory = history_directory()) {
        auto listed = list_history(*directory);
        if (auto* entries = std::get_if<JsonHistoryListing>(&listed)) listing = std::move(*entries);
    }
    set_history(std::move(listing));
    enable_controls();
}

void JsonPage::layout(int width, int height) {
    const JsonPageLayout l = json_page_layout(width, height);
    auto place = [](HWND control, const JsonPageRect& r) { place_control(control, r.x, r.y, r.w, r.h); };
    place(title_, l.title);
    place(history_box_, l.history);
    place(format_, l.format);
    place(compact_, l.compact);
    place(escape_, l.escape);
    place(unescape_, l.unescape);
    place(input_label_, l.input_label);
    place(clear_, l.clear);
    place(paste_, l.paste);
    place(input_, l.input);
    place(result_label_, l.result_label);
    place(copy_, l.copy);
    place(view_, l.view);
    place(result_box_, l.result);
    if (tree_.hwnd) {
        place(tree_.hwnd, l.result);
        tree_.set_item_height(json_tree_item_height);
    }
}

void JsonPage::command(WPARAM wparam) {
    const int id = LOWORD(wparam);
    const int code = HIWORD(wparam);
    if (id == ids::input) {
        if (code == EN_CHANGE) on_input_changed();
        return;
    }
    if (id == ids::history) {
        on_history_notification(code);
        return;
    }
    if (code != BN_CLICKED || job_running()) return;
    switch (id) {
        case ids::format: transform_command(JsonMode::format, false); break;
        case ids::compact: transform_command(JsonMode::compact, false); break;
        case ids::escape: transform_command(JsonMode::escape, true); break;
        case ids::unescape: transform_command(JsonMode::unescape, false); break;
        case ids::paste: paste(); break;
        case ids::clear: clear(); break;
        case ids::copy: copy_json_result(); break;
        case ids::view:
            if (error_.positioned)
                locate_error(true);
            else
                toggle_view();
            break;
        default: break;
    }
}

LRESULT JsonPage::notify(HWND page, WPARAM wparam, LPARAM lparam) {
    const auto* header = reinterpret_cast<const NMHDR*>(lparam);
    if (header && tree_.hwnd && header->hwndFrom == tree_.hwnd && header->code == TVN_ITEMEXPANDINGW)
        return tree_.on_expanding(page, *reinterpret_cast<const NMTREEVIEWW*>(lparam), current_tree());
    return DefWindowProcW(page, WM_NOTIFY, wparam, lparam);
}

bool JsonPage::handle(HWND, UINT message, WPARAM wparam, LPARAM) {
    if (message == WM_TIMER && wparam == json_idle_timer_id) {
        on_timer();
        return true;
    }
    if (message == message_id(AppMessage::JsonResultReady)) {
        on_json_result();
        return true;
    }
    if (message == message_id(AppMessage::JsonTreeLoadMore)) {
        tree_.on_load_more(current_tree());
        return true;
    }
    return false;
}

void JsonPage::transform_command(JsonMode mode, bool allow_empty) {
    std::u16string text = read_control_text(input_, spare_);
    if (text.empty() && !allow_empty) {
        status(msg::empty_input, true);
        SetFocus(input_);
        return;
    }
    start_json_job(TransformJob{mode, std::move(text)});
}

void JsonPage::on_input_changed() {
    ++edit_generation_;
    if (error_.positioned) set_view_text(msg::view_tree);
    error_ = {};
    auto_pending_ = false;
    enable_controls();
    start_idle_timer();
}

// Browsing the records (arrows or the wheel over the closed box, moving
// through the open list) leaves the input alone, and the closed box keeps
// showing the header. Only an item chosen in the open list (a click, Enter)
// restores, once the list has closed. The box says so with CBN_SELENDOK while
// the list is still open; over a closed box a mere arrow key may send it too.
void JsonPage::on_history_notification(int code) {
    const bool dropped = SendMessageW(history_box_, CB_GETDROPPEDSTATE, 0, 0) != 0;
    switch (code) {
        case CBN_DROPDOWN:
        case CBN_SELENDCANCEL: history_pick_.reset(); break;
        case CBN_SELENDOK:
            if (dropped) history_pick_ = SendMessageW(history_box_, CB_GETCURSEL, 0, 0);
            break;
        case CBN_CLOSEUP: {
            const std::optional<LRESULT> picked = std::exchange(history_pick_, std::nullopt);
            SendMessageW(history_box_, CB_SETCURSEL, 0, 0);
            if (picked && *picked > 0 && !job_running() && static_cast<std::size_t>(*picked - 1) < history_.size())
                start_json_job(RestoreJob{history_[static_cast<std::size_t>(*picked - 1)]});
            break;
        }
        case CBN_SELCHANGE:
            if (!dropped) SendMessageW(history_box_, CB_SETCURSEL, 0, 0);
            break;
        default: break;
    }
}

// The whole input replaced as one edit that one undo takes back.
void JsonPage::replace_input(const std::u16string& text) {
    SendMessageW(input_, EM_SETSEL, 0, -1);
    SendMessageW(input_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(wide(text)));
}

void JsonPage::on_timer() {
    stop_idle_timer();
    auto_pending_ = true;
    try_auto_format();
}

bool JsonPage::composing() const {
    HIMC context = ImmGetContext(input_);
    if (!context) return false;
    const LONG bytes = ImmGetCompositionStringW(context, GCS_COMPSTR, nullptr, 0);
    ImmReleaseContext(input_, context);
    return bytes > 0;
}

void JsonPage::try_auto_format() {
    if (!auto_pending_ || job_running()) return;
    auto_pending_ = false;
    std::u16string text = read_control_text(input_, spare_);
    if (is_blank_input(text)) {
        reset_result();
        status(msg::waiting, false);
        return;
    }
    if (composing()) {
        start_idle_timer();
        return;
    }
    AutoFormatJob job;
    job.input = std::move(text);
    job.previous_hash = previous_hash_;
    previous_hash_.reset();
    DWORD start = 0, end = 0;
    SendMessageW(input_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    job.selection_start = start;
    job.selection_end = end;
    job.build_tree = tree_showing_;
    job.rich_positions = rich_input_;
    start_json_job(std::move(job));
}

void JsonPage::start_json_job(JsonJob job) {
    stop_idle_timer();
    auto_pending_ = false;

    RunningJob running;
    running.kind = static_cast<JobKind>(job.index());
    if (auto* t = std::get_if<TransformJob>(&job)) running.mode = t->mode;
    if (auto* a = std::get_if<AutoFormatJob>(&job)) {
        running.selection_start = a->selection_start;
        running.selection_end = a->selection_end;
    }
    if (auto* b = std::get_if<BuildTreeJob>(&job)) running.from_result = b->from_result;
    running.job_generation = edit_generation_;

    auto channel = std::make_shared<JsonResultChannel>();
    running.receiver = std::make_unique<JsonResultReceiver>();
    running.receiver->channel = channel;
    if (!start_json_worker(std::move(job), std::move(channel), page_)) {
        status(msg::cannot_start, true);
        return;
    }
    const JobKind kind = running.kind;
    running_ = std::move(running);
    enable_controls();
    status(kind == JobKind::restore ? msg::restoring : kind == JobKind::build_tree ? msg::parsing : msg::processing,
           false);
}

void JsonPage::on_json_result() {
    if (!running_) return;
    RunningJob job = std::move(*running_);
    running_.reset();
    std::optional<JsonResult> taken = job.receiver->channel->try_take();
    if (!taken && !job.receiver->channel->sender_gone()) {
        running_ = std::move(job);
        return;
    }
    enable_controls();

    JsonSuccess* success = taken ? std::get_if<JsonSuccess>(&*taken) : nullptr;
    // A fresh listing is worth showing even when the result itself is stale.
    if (success) {
        if (auto* listing = std::get_if<JsonHistoryListing>(&success->history_update))
            set_history(std::move(*listing));
    }
    if (job.job_generation != edit_generation_) {
        try_auto_format();
        return;
    }
    if (!taken) {
        status(msg::ended_unexpectedly, true);
        return;
    }
    if (success)
        apply_success(job, *success);
    else
        apply_failure(job, std::get<JsonError>(*taken));
}

void JsonPage::apply_failure(const RunningJob& job, const JsonError& error) {
    if (job.kind == JobKind::restore || (job.kind == JobKind::build_tree && job.from_result)) {
        status(error.message, true);
        return;
    }
    reset_result();
    error_ = error;
    if (error_.positioned) {
        set_view_text(msg::view_locate);
        if (!composing()) locate_error(false);
    }
    SetWindowTextW(result_box_, to_wide_crlf(error.message + "\n\n" + error.context).c_str());
    status(error.message, true);
}

void JsonPage::apply_success(const RunningJob& job, JsonSuccess& success) {
    if (job.kind == JobKind::auto_format && success.replace_input && !composing()) {
        DWORD start = 0, end = 0;
        SendMessageW(input_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        if (start == job.selection_start && end == job.selection_end) {
            replace_input(success.replacement);
            SendMessageW(input_, EM_SETSEL, success.selection_start, success.selection_end);
            SendMessageW(input_, EM_SCROLLCARET, 0, 0);
            previous_hash_ = success.input_hash;
        }
    }
    if (success.restored_text) {
        ++edit_generation_;
        replace_input(*success.restored_text);
        SendMessageW(input_, EM_SETSEL, 0, 0);
        SendMessageW(input_, EM_SCROLLCARET, 0, 0);
    }

    error_ = {};
    tree_.reset();
    if (auto* tree = std::get_if<JsonTree>(&success.output))
        result_ = std::move(*tree);
    else
        result_ = std::move(std::get<std::string>(success.output));
    result_generation_ = edit_generation_;

    const bool tree_result = std::holds_alternative<JsonTree>(result_);
    if (tree_result) {
        if (!(job.kind == JobKind::build_tree && job.from_result)) {
            result_shown_ = false;
            SetWindowTextW(result_box_, L"");
        }
        show_json_tree();
    } else {
        result_shown_ = false;
        // Without a text of its own the output is the replacement, applied or not.
        show_result_text(success.shown_output ? &*success.shown_output : &success.replacement);
        show_text_pane();
        const char* done = msg::formatted;
        if (job.kind == JobKind::auto_format) {
            done = msg::auto_formatted;
        } else if (job.kind == JobKind::restore) {
            done = msg::restored;
        } else {
            switch (job.mode) {
                case JsonMode::format: done = msg::formatted; break;
                case JsonMode::compact: done = msg::compacted; break;
                case JsonMode::escape: done = msg::escaped; break;
                case JsonMode::unescape: done = msg::unescaped; break;
            }
        }
        status(done, false);
    }
    enable_controls();
    if (std::holds_alternative<HistoryError>(success.history_update)) status(msg::history_not_saved, true);
}

void JsonPage::locate_error(bool take_focus) {
    if (take_focus) SetFocus(input_);
    if (error_.line == 0) return;
    const LRESULT line_start = SendMessageW(input_, EM_LINEINDEX, static_cast<WPARAM>(error_.line - 1), 0);
    if (line_start < 0) return;
    const auto from = static_cast<std::uint64_t>(line_start) + error_.column_utf16;
    const auto to = from + error_.length_utf16;
    SendMessageW(input_, EM_SETSEL, static_cast<WPARAM>(from), static_cast<LPARAM>(to));
    SendMessageW(input_, EM_SCROLLCARET, 0, 0);
}

// The result box in front and the view button offering the tree.
void JsonPage::show_text_pane() {
    if (tree_.hwnd) ShowWindow(tree_.hwnd, SW_HIDE);
    ShowWindow(result_box_, SW_SHOWNA);
    tree_showing_ = false;
    if (!error_.positioned) set_view_text(msg::view_tree);
}

void JsonPage::toggle_view() {
    if (tree_showing_) {
        show_result_text();
        show_text_pane();
        status(msg::text_view, false);
        return;
    }
    if (!tree_.hwnd) {
        status(msg::no_tree_control, true);
        return;
    }
    if (current_tree() && result_current()) {
        show_json_tree();
        return;
    }
    BuildTreeJob job;
    job.from_result = std::holds_alternative<std::string>(result_) && result_current();
    if (job.from_result)
        job.result = text_of(result_);
    else
        job.input = read_control_text(input_, spare_);
    if (job.result.empty() && job.input.empty()) {
        status(msg::empty_tree_input, true);
        SetFocus(input_);
        return;
    }
    start_json_job(std::move(job));
}

void JsonPage::show_json_tree() {
    const JsonTree* tree = current_tree();
    if (!tree) return;
    // Items already there belong to this very tree: switching back to text
    // only hid them.
    const bool filled = tree_.hwnd && TreeView_GetRoot(tree_.hwnd) != nullptr;
    if (!filled && (!tree_.hwnd || !tree_.fill(*tree))) {
        show_result_text();
        show_text_pane();
        status(msg::tree_failed, true);
        return;
    }
    tree_showing_ = true;
    ShowWindow(result_box_, SW_HIDE);
    ShowWindow(tree_.hwnd, SW_SHOWNA);
    set_view_text(msg::view_text);
    status(tree_status(tree->nodes.size()), false);
}

void JsonPage::show_result_text(const std::u16string* converted) {
    if (result_shown_) return;
    result_shown_ = true;
    if (std::holds_alternative<std::monostate>(result_)) return;
    if (converted)
        SetWindowTextW(result_box_, wide(*converted));
    else
        SetWindowTextW(result_box_, wide(to_control_text(text_of(result_), true)));
}

void JsonPage::reset_result() {
    error_ = {};
    result_ = std::monostate{};
    result_shown_ = true;
    SetWindowTextW(result_box_, L"");
    tree_.reset();
    show_text_pane();
    enable_controls();
}

// Disabling the focused control leaves the keyboard nowhere, so a button
// pressed with Enter or Space gets the focus back when its job is done,
// unless the user has put it somewhere else meanwhile.
void JsonPage::enable_controls() {
    const bool idle = !job_running();
    const HWND focus = GetFocus();
    for (HWND control : {format_, compact_, escape_, unescape_, paste_, clear_, view_, history_box_}) {
        if (!idle && control == focus) busy_focus_ = control;
        EnableWindow(control, idle);
    }
    if (const HWND back = idle ? std::exchange(busy_focus_, nullptr) : nullptr;
        back && !GetFocus() && GetActiveWindow() == GetAncestor(page_, GA_ROOT))
        SetFocus(back);
    const bool has_result = !std::holds_alternative<std::monostate>(result_);
    EnableWindow(copy_, idle && has_result && result_current());
}

void JsonPage::set_history(JsonHistoryListing listing) {
    if (listing.size() > history_keep) listing.resize(history_keep);
    history_ = std::move(listing);
    const std::string header = history_header(history_.size());
    std::vector<const char*> items{header.c_str()};
    for (const JsonHistoryEntry& entry : history_) items.push_back(entry.preview.c_str());
    fill_dropdown(history_box_, items.data(), static_cast<int>(items.size()), 0);
}

void JsonPage::paste() {
    std::optional<std::u16string> text = read_clipboard_text(page_);
    if (!text) {
        status(msg::nothing_to_paste, true);
        return;
    }
    // Measured as the box will hold it, CR LF included: a longer text would
    // be cut off silently by the control's limit.
    if (control_length(*text, rich_input_) > replacement_limit) {
        status(msg::paste_too_long, true);
        return;
    }
    SetWindowTextW(input_, wide(*text));
    // The box now holds this many units: reading them back, as beautifying
    // the pasted text will, fits into the same memory.
    spare_ = std::move(*text);
    on_input_changed();
    SetFocus(input_);
    status(msg::pasted, false);
}

void JsonPage::clear() {
    previous_hash_.reset();
    ++edit_generation_;
    stop_idle_timer();
    auto_pending_ = false;
    clear_text(input_);
    spare_ = {};
    reset_result();
    SetFocus(input_);
    status(msg::cleared, false);
}

void JsonPage::copy_json_result() {
    if (std::holds_alternative<std::monostate>(result_)) return;
    const std::string& text = text_of(result_);
    if (text.find('\0') != std::string::npos) {
        status(msg::result_has_nul, true);
        return;
    }
    const std::wstring wide = to_wide(text);
    if (copy_text_to_clipboard(page_, wide.c_str(), wide.size() + 1))
        status(msg::copied, false);
    else
        status(msg::clipboard_busy, true);
}

}  // namespace

std::unique_ptr<PageVariant> build_json_page(HWND page) { return std::make_unique<JsonPage>(page); }
