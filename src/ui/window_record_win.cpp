#include "ui/window_record_win.h"

#include <new>

void* WindowRecord::operator new(std::size_t size) {
    void* memory = VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (!memory) throw std::bad_alloc();
    return memory;
}

// The address range stays reserved, so no later allocation can take it.
void WindowRecord::operator delete(void* memory) {
    if (!memory) return;
    MEMORY_BASIC_INFORMATION region{};
    if (VirtualQuery(memory, &region, sizeof region)) VirtualFree(memory, region.RegionSize, MEM_DECOMMIT);
}

void attach_window_record(HWND window, std::unique_ptr<WindowRecord> record) {
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record.release()));
}

WindowRecord* window_record(HWND window) {
    return reinterpret_cast<WindowRecord*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void detach_window_record(HWND window) {
    WindowRecord* record = window_record(window);
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    if (!record) return;
    if (record->holds_ > 0)
        record->window_gone_ = true;
    else
        delete record;
}

RecordHold::RecordHold(WindowRecord* record) : record_(record) {
    if (record_) ++record_->holds_;
}

RecordHold::~RecordHold() {
    if (record_ && --record_->holds_ == 0 && record_->window_gone_) delete record_;
}

RecordBorrow::RecordBorrow(WindowRecord* record)
    : hold_(record), held_(record && record->borrow == 0 && hold_.alive()) {
    if (held_) record->borrow = -1;
}

RecordBorrow::~RecordBorrow() {
    if (held_) hold_.get()->borrow = 0;
}
