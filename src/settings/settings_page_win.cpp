#include "settings/settings_page_win.h"

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <variant>

#include "settings/settings_controls.h"
#include "settings/settings_rules.h"
#include "ui/app_message.h"
#include "ui/controls_win.h"
#include "ui/palette.h"
#include "ui/ui_resources_win.h"
#include "ui/window_record_win.h"

namespace {

SettingsSlot tab_slot(int tab) { return static_cast<SettingsSlot>(slot_index(SettingsSlot::Tab0) + tab); }
SettingsSlot tool_slot(int tool) { return static_cast<SettingsSlot>(slot_index(SettingsSlot::Tool0) + tool); }

class SettingsPage final : public PageVariant {
public:
    SettingsPage(HWND page, SettingsServices services) : page_(page), services_(std::move(services)) {
        const Preferences& store = services_.store;
        scheme_ = store.load_color_scheme();
        ball_on_ = store.load_floating_ball();
        visible_tools_ = store.load_visible_tools();
        const bool check_updates = store.load_check_updates();

        for (std::size_t i = 0; i < settings_slot_count; ++i) {
            const SettingsControl& c = settings_controls[i];
            controls_[i] = create_control(page_, c.kind, c.text, c.id);
        }
        fill_dropdown(control(SettingsSlot::SchemeList), color_scheme_names, color_scheme_count, scheme_.scheme);
        for (int tool = 0; tool < tool_count; ++tool)
            mark_selected(control(tool_slot(tool)), visible_tools_.contains(tool));
        set_toggle(control(SettingsSlot::AutoCheckToggle), check_updates);
        show_tab(0);
    }

    void layout(int width, int) override {
        for (std::size_t i = 0; i < settings_slot_count; ++i) {
            const LogicalRect r = settings_rect(static_cast<SettingsSlot>(i), width);
            place_control(controls_[i], r.x, r.y, r.width, r.height);
        }
    }

    void command(WPARAM wparam) override {
        const int id = LOWORD(wparam);
        const int code = HIWORD(wparam);
        if (id == settings_id::scheme_list) {
            const bool list_open = SendMessageW(control(SettingsSlot::SchemeList), CB_GETDROPPEDSTATE, 0, 0) != 0;
            if ((code == CBN_SELCHANGE && !list_open) || code == CBN_SELENDOK) apply_scheme_from_list();
            // An open list that was left without choosing may still show the
            // item last under the mouse or the arrow keys; it shows the scheme
            // in use again, and the next arrow key steps from there.
            if (code == CBN_SELENDCANCEL) select_scheme_in_list(scheme_.scheme);
            return;
        }
        if (code != BN_CLICKED) return;
        if (id >= settings_id::first_tab && id < settings_id::first_tab + settings_tab_count) {
            show_tab(id - settings_id::first_tab);
            return;
        }
        if (id >= settings_id::first_tool && id < settings_id::first_tool + tool_count) {
            switch_tool(id - settings_id::first_tool);
            return;
        }
        switch (id) {
            case settings_id::ball_toggle: post_to_main(AppMessage::ToggleFloatingBall); break;
            case settings_id::collapse: post_to_main(AppMessage::CollapseToBall); break;
            case settings_id::login_toggle: switch_start_at_login(); break;
            case settings_id::dock_toggle: post_to_main(AppMessage::ToggleDock); break;
            case settings_id::pick_color: pick_custom_color(); break;
            case settings_id::auto_check_toggle: switch_update_checks(); break;
            case settings_id::check_now: post_to_main(AppMessage::CheckForUpdate, 1); break;
            case settings_id::feedback: open_address(feedback_address); break;
            case settings_id::guide: open_address(guide_address); break;
            default: break;
        }
    }

    void floating_state_changed(bool ball_on, bool dock_on) override {
        set_toggle(control(SettingsSlot::BallToggle), ball_on);
        ball_on_ = ball_on;
        HWND collapse = control(SettingsSlot::Collapse);
        const bool collapse_shown = ball_on_ && tab_ == 0;
        const bool focus_lost = !collapse_shown && GetFocus() == collapse;
        ShowWindow(collapse, collapse_shown ? SW_SHOWNA : SW_HIDE);
        if (focus_lost) SetFocus(control(SettingsSlot::BallToggle));
        set_toggle(control(SettingsSlot::DockToggle), dock_on);
        set_text(control(SettingsSlot::DockHint), dock_on ? settings_text::dock_on_hint : settings_text::dock_off_hint);
        // Read again every time: the Run entry may have been changed outside.
        HWND login = control(SettingsSlot::LoginToggle);
        const std::variant<bool, std::string> state = services_.store.load_start_at_login();
        if (const bool* on = std::get_if<bool>(&state)) {
            set_toggle(login, *on);
        } else {
            set_text(login, settings_text::login_unreadable);
            InvalidateRect(login, nullptr, TRUE);
            set_status(page_, std::get<std::string>(state), true);
        }
    }

private:
    HWND control(SettingsSlot slot) const { return controls_[slot_index(slot)]; }

    void show_tab(int tab) {
        tab_ = tab;
        for (int t = 0; t < settings_tab_count; ++t) mark_selected(control(tab_slot(t)), t == tab_);
        HWND focus = GetFocus();
        bool focus_hidden = false;
        for (std::size_t i = 0; i < settings_slot_count; ++i) {
            const int owner_tab = settings_controls[i].tab;
            bool shown = owner_tab == every_tab || owner_tab == tab_;
            if (static_cast<SettingsSlot>(i) == SettingsSlot::Collapse) shown = shown && ball_on_;
            if (!shown && controls_[i] == focus) focus_hidden = true;
            ShowWindow(controls_[i], shown ? SW_SHOWNA : SW_HIDE);
        }
        // A hidden control would swallow the keys; the tab's own button is where the user is.
        if (focus_hidden) SetFocus(control(tab_slot(tab_)));
    }

    void post_to_main(AppMessage message, WPARAM wparam = 0) const {
        PostMessageW(GetAncestor(page_, GA_ROOT), message_id(message), wparam, 0);
    }

    void select_scheme_in_list(int index) const {
        SendMessageW(control(SettingsSlot::SchemeList), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }

    void apply_scheme_from_list() {
        const int selected = dropdown_selection(control(SettingsSlot::SchemeList));
        apply_scheme(selected < 0 ? 0u : static_cast<std::uint32_t>(selected), scheme_.color);
    }

    void apply_scheme(std::uint32_t index, Colorref color) {
        switch (scheme_step(scheme_, index, color)) {
            case SchemeStep::Unchanged: return;
            case SchemeStep::Invalid:
                set_status(page_, preference_messages::invalid_color_scheme, true);
                select_scheme_in_list(scheme_.scheme);
                return;
            case SchemeStep::Save: break;
        }
        if (SaveResult failed = services_.store.save_color_scheme(index, color)) {
            set_status(page_, *failed, true);
            select_scheme_in_list(scheme_.scheme);
            return;
        }
        scheme_ = {static_cast<std::uint8_t>(index), color};
        ui_resources().palette = derive_palette(static_cast<int>(index), color);
        post_to_main(AppMessage::PaletteChanged);
        set_status(page_, settings_text::scheme_updated, false);
        select_scheme_in_list(static_cast<int>(index));
    }

    void pick_custom_color() {
        HWND owner = GetAncestor(page_, GA_ROOT);
        const std::optional<ColorPick> pick = run_nested_loop(page_, [&] {
            return services_.choose_color ? services_.choose_color(owner, scheme_.color)
                                          : ColorPick{ColorPickOutcome::Failed, 0};
        });
        if (!pick) return;  // the page went away while the dialog was open
        switch (pick->outcome) {
            case ColorPickOutcome::Chosen: apply_scheme(color_scheme_custom, pick->color); break;
            case ColorPickOutcome::Cancelled: break;
            case ColorPickOutcome::Failed: set_status(page_, settings_text::color_dialog_failed, true); break;
        }
    }

    void switch_tool(int tool) {
        const bool listed = !visible_tools_.contains(tool);
        const ToolMask changed = visible_tools_.with(tool, listed);
        if (SaveResult failed = services_.store.save_visible_tools(changed)) {
            set_status(page_, *failed, true);
            return;
        }
        visible_tools_ = changed;
        mark_selected(control(tool_slot(tool)), listed);
        set_status(page_, tool_switched_text(tool, listed), false);
        post_to_main(AppMessage::ToolsChanged);
    }

    void switch_start_at_login() {
        const std::variant<bool, std::string> state = services_.store.load_start_at_login();
        if (const std::string* failed = std::get_if<std::string>(&state)) {
            set_status(page_, *failed, true);
            return;
        }
        const bool on = !std::get<bool>(state);
        if (SaveResult failed = services_.store.save_start_at_login(on)) {
            set_status(page_, *failed, true);
            return;
        }
        set_toggle(control(SettingsSlot::LoginToggle), on);
        set_status(page_, on ? settings_text::login_on : settings_text::login_off, false);
    }

    void switch_update_checks() {
        const bool on = !services_.store.load_check_updates();
        if (SaveResult failed = services_.store.save_check_updates(on)) {
            set_status(page_, *failed, true);
            return;
        }
        set_toggle(control(SettingsSlot::AutoCheckToggle), on);
        post_to_main(AppMessage::UpdateSettingChanged);
    }

    // The shell may show its own error box, a nested loop.
    void open_address(const wchar_t* address) const {
        HWND page = page_;
        const std::optional<bool> opened =
            run_nested_loop(page, [&] { return services_.open_address && services_.open_address(page, address); });
        if (opened && !*opened) set_status(page_, settings_text::browser_failed, true);
    }

    HWND page_;
    SettingsServices services_;
    std::array<HWND, settings_slot_count> controls_{};
    int tab_ = 0;
    ColorSchemeSetting scheme_;
    ToolMask visible_tools_;
    bool ball_on_ = false;
};

}  // namespace

std::unique_ptr<PageVariant> build_settings_page(HWND page) { return build_settings_page(page, SettingsServices{}); }

std::unique_ptr<PageVariant> build_settings_page(HWND page, SettingsServices services) {
    return std::make_unique<SettingsPage>(page, std::move(services));
}
