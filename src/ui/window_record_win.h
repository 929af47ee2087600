#pragma once

// How every window of the program owns its record (the main window, the
// pages, the floating ball): the record sits in the window's user-data slot
// and is freed when the window receives WM_NCDESTROY, unless a handler
// further up the stack still holds it; then the last holder frees it on its
// way out. A handler that runs a nested message loop (message box, dialog,
// popup menu) does so through run_nested_loop, which tells it whether the
// window outlived the loop: the window may be destroyed by any message the
// loop dispatches.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <type_traits>

class WindowRecord {
public:
    WindowRecord() = default;
    virtual ~WindowRecord() = default;
    WindowRecord(const WindowRecord&) = delete;
    WindowRecord& operator=(const WindowRecord&) = delete;

    // Each record has pages of its own, decommitted when it is freed: a
    // handler that still touched it would fault at once instead of reading
    // whatever took its place.
    static void* operator new(std::size_t size);
    static void operator delete(void* memory);

    std::int64_t borrow = 0;  // re-entrancy guard: 0 free, -1 while a guarded handler uses the record

private:
    friend class RecordHold;
    friend void detach_window_record(HWND window);
    int holds_ = 0;
    bool window_gone_ = false;
};

// Hands the record to the window.
void attach_window_record(HWND window, std::unique_ptr<WindowRecord> record);
// The window's record, or null before it is attached and after WM_NCDESTROY.
WindowRecord* window_record(HWND window);
// For WM_NCDESTROY: empties the slot and frees the record, at once or when
// its last holder returns.
void detach_window_record(HWND window);

// Keeps a record from being freed while its holder runs.
class RecordHold {
public:
    explicit RecordHold(WindowRecord* record);
    ~RecordHold();
    RecordHold(const RecordHold&) = delete;
    RecordHold& operator=(const RecordHold&) = delete;

    // There is a record and its window still exists.
    bool alive() const { return record_ && !record_->window_gone_; }
    WindowRecord* get() const { return record_; }

private:
    WindowRecord* record_;
};

// A guarded handler's use of its window's record: held, and borrowed when it
// was free. A message that re-enters the window while the record is borrowed
// (through a sent message) must not touch it and gets default processing.
class RecordBorrow {
public:
    explicit RecordBorrow(WindowRecord* record);
    ~RecordBorrow();

    // False without a record or when it was already borrowed further up the stack.
    bool held() const { return held_; }
    WindowRecord* get() const { return hold_.get(); }

private:
    RecordHold hold_;
    bool held_;
};

// Runs a nested message loop on behalf of a handler of `window`: the loop's
// result when the window and its record outlived it, nothing when they did
// not (or there was no record), and the handler must then return without
// touching the record.
template <class Loop>
auto run_nested_loop(HWND window, Loop&& loop) -> std::optional<std::invoke_result_t<Loop&>> {
    RecordHold hold(window_record(window));
    auto result = loop();
    if (!hold.alive()) return std::nullopt;
    return result;
}
