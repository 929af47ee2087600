#include "updates/update_check_win.h"

#include <optional>
#include <string_view>

#include "ui/app_message.h"
#include "main/main_window_win.h"
#include "main/update_state.h"
#include "preferences/preferences_win.h"
#include "ui/controls_win.h"
#include "updates/download_win.h"
#include "ui/system_error_win.h"
#include "ui/window_record_win.h"
#include "updates/manifest.h"
#include "updates/update_config.h"
#include "updates/update_hooks_win.h"
#include "updates/update_messages.h"
#include "updates/update_thread_win.h"

namespace {

inline constexpr std::uint64_t manifest_limit = 16'384;

template <class... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};

void post_update_finished(HWND window) { PostMessageW(window, message_id(AppMessage::UpdateFinished), 0, 0); }

void clear_running() { lock_update_state()->running = false; }

// A thread that could not be started leaves nothing running.
bool start_or_report(MainWindow& w, std::function<void()> body) {
    if (std::optional<DWORD> error = start_update_thread(std::move(body))) {
        clear_running();
        set_status(w.hwnd, std::string(cannot_start_task) + system_error_text(*error), true);
        return false;
    }
    return true;
}

bool window_hidden(HWND window) { return !IsWindowVisible(window) || IsIconic(window); }

enum class Answer { Start, Declined, DownloadNotStarted, WindowGone };

Answer offer(MainWindow& w, const UpdateManifest& manifest) {
    const std::wstring text = to_wide(offer_text(manifest, current_version));
    const std::wstring title = to_wide(offer_title);
    // The box runs its own message loop, in which the window may be destroyed
    // (the ball's "退出Lumaro"); then its record is not touched again.
    const std::optional<int> answer = run_nested_loop(w.hwnd, [&] {
        return MessageBoxW(w.hwnd, text.c_str(), title.c_str(), MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2);
    });
    if (!answer) return Answer::WindowGone;
    if (*answer != IDYES) {
        lock_update_state()->deferred_version = manifest.version;
        set_status(w.hwnd, deferred_status, false);
        return Answer::Declined;
    }
    set_status(w.hwnd, downloading_status, false);
    HWND window = w.hwnd;
    return start_or_report(w, [manifest, window] { download_update(manifest, window); }) ? Answer::Start
                                                                                        : Answer::DownloadNotStarted;
}

}  // namespace

std::string manifest_address() { return std::string(release_base_url) + "/latest/download/latest.json"; }

void check_for_update(HWND window) {
    FetchResult fetched = update_fetcher()(manifest_address(), manifest_limit);
    UpdateOutcome outcome;
    if (auto* message = std::get_if<std::string>(&fetched)) {
        outcome = {UpdateOutcome::CheckFailed{*message}};
    } else {
        const Bytes& body = std::get<Bytes>(fetched);
        outcome = evaluate_manifest(std::string_view(reinterpret_cast<const char*>(body.data()), body.size()),
                                    current_version);
    }
    store_update_outcome(std::move(outcome));
    post_update_finished(window);
}

void on_check_for_update(MainWindow& w, WPARAM wparam) {
    const bool asked = wparam != 0;
    // A timer message can outlive the setting.
    if (!asked && !Preferences().load_check_updates()) return;
    bool already_running = false;
    {
        LockedUpdateState state = lock_update_state();
        already_running = state->running;
        if (already_running) {
            if (asked) state->manual = true;
        } else {
            state->running = true;
            state->manual = asked;
        }
    }
    if (already_running) {
        if (asked) {
            set_status(w.hwnd, update_in_progress, false);
            // An offer held back while the window was hidden is shown now:
            // from here on the check counts as asked for.
            post_update_finished(w.hwnd);
        }
        return;
    }
    if (asked) set_status(w.hwnd, checking_status, false);
    HWND window = w.hwnd;
    start_or_report(w, [window] { check_for_update(window); });
}

void on_update_finished(MainWindow& w) {
    bool manual = false;
    UpdateOutcome outcome;
    std::optional<std::string> deferred;
    {
        LockedUpdateState state = lock_update_state();
        manual = state->manual;
        // An automatic offer waits until the window is seen; running stays
        // true so that no other check starts meanwhile.
        if (!manual && std::holds_alternative<UpdateOutcome::Available>(state->outcome.value) && window_hidden(w.hwnd))
            return;
        outcome = take_outcome(*state);
        if (outcome.empty()) return;
        deferred = state->deferred_version;
    }

    const bool keep_running = std::visit(
        Overloaded{
            [](const UpdateOutcome::Empty&) { return false; },
            [&](const UpdateOutcome::InstallStarted&) {
                // The installer waits for this process to end before it replaces the file.
                PostMessageW(w.hwnd, message_id(AppMessage::ExitApp), 0, 0);
                return true;
            },
            [&](const UpdateOutcome::InstallFailed& failed) {
                set_status(w.hwnd, failed.message, true);
                return false;
            },
            [&](const UpdateOutcome::UpToDate&) {
                if (manual) set_status(w.hwnd, up_to_date_status, false);
                return false;
            },
            [&](const UpdateOutcome::CheckFailed& failed) {
                if (manual) set_status(w.hwnd, failed.message, true);
                return false;
            },
            [&](const UpdateOutcome::Available& available) {
                if (!manual && deferred == available.manifest.version) return false;
                return offer(w, available.manifest) == Answer::Start;
            },
        },
        outcome.value);
    if (!keep_running) clear_running();
}
