#pragma once

// The program's private window messages, all based on WM_APP (32768). lParam
// is 0 in every case. Background threads only ever post these.
enum class AppMessage : unsigned {
    JsonResultReady = 32798,       // WM_APP + 30: JSON worker -> JSON page
    JsonTreeLoadMore = 32799,      // WM_APP + 31: JSON page -> itself
    ShowMainWindow = 32809,        // WM_APP + 41
    CloseFloatingBall = 32810,     // WM_APP + 42
    ExitApp = 32811,               // WM_APP + 43
    ToggleFloatingBall = 32812,    // WM_APP + 44
    CollapseToBall = 32813,        // WM_APP + 45: wParam 1 when it comes from minimising
    FloatingStateChanged = 32814,  // WM_APP + 46: bit 0 ball on, bit 1 docking on
    ToggleDock = 32815,            // WM_APP + 47
    PaletteChanged = 32816,        // WM_APP + 48
    ToolsChanged = 32817,          // WM_APP + 49
    UpdateSettingChanged = 32818,  // WM_APP + 50
    CheckForUpdate = 32848,        // WM_APP + 80: wParam 1 when the user asked
    UpdateFinished = 32849,        // WM_APP + 81
};

constexpr unsigned message_id(AppMessage m) { return static_cast<unsigned>(m); }
