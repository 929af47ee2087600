#pragma once

// The one record through which the update threads hand their results to the
// main window. A thread stores its outcome under the lock and then posts
// UpdateFinished; the window's handler takes the outcome out under the lock
// and presents it only after releasing it.

#include <mutex>
#include <optional>
#include <string>
#include <variant>

#include "updates/update_manifest.h"

struct UpdateOutcome {
    struct Empty {
        friend bool operator==(const Empty&, const Empty&) = default;
    };
    struct UpToDate {
        friend bool operator==(const UpToDate&, const UpToDate&) = default;
    };
    struct CheckFailed {
        std::string message;
        friend bool operator==(const CheckFailed&, const CheckFailed&) = default;
    };
    struct Available {
        UpdateManifest manifest;
        friend bool operator==(const Available&, const Available&) = default;
    };
    struct InstallStarted {
        friend bool operator==(const InstallStarted&, const InstallStarted&) = default;
    };
    struct InstallFailed {
        std::string message;
        friend bool operator==(const InstallFailed&, const InstallFailed&) = default;
    };

    std::variant<Empty, UpToDate, CheckFailed, Available, InstallStarted, InstallFailed> value;

    bool empty() const { return std::holds_alternative<Empty>(value); }
    friend bool operator==(const UpdateOutcome&, const UpdateOutcome&) = default;
};

struct UpdateState {
    bool running = false;  // a check, a held-back offer or a download is in progress
    bool manual = false;   // the current check was asked for by the user
    UpdateOutcome outcome;
    std::optional<std::string> deferred_version;  // memory only, never saved
};

// The record under its lock for as long as this object lives. Hold it only
// for short reads and writes; never show anything while holding it.
class LockedUpdateState {
public:
    LockedUpdateState(std::mutex& lock, UpdateState& state) : guard_(lock), state_(state) {}
    UpdateState& operator*() const { return state_; }
    UpdateState* operator->() const { return &state_; }

private:
    std::unique_lock<std::mutex> guard_;
    UpdateState& state_;
};

// The process's record, created empty before first use.
LockedUpdateState lock_update_state();

// Stores an outcome in place of the pending one (which is released).
void store_outcome(UpdateState& state, UpdateOutcome outcome);
// Moves the pending outcome out and leaves Empty behind.
UpdateOutcome take_outcome(UpdateState& state);

// store_outcome under the process's lock: a thread's whole hand-off of one result.
void store_update_outcome(UpdateOutcome outcome);
