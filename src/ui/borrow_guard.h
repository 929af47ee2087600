#pragma once

#include <cstdint>

// Re-entrancy guard of a window's record: `borrow` is 0 while the record is
// free and -1 while a handler uses it. A message that re-enters the window
// while the record is borrowed (through a sent message) must not touch it and
// gets default processing instead.
class BorrowGuard {
public:
    explicit BorrowGuard(std::int64_t& borrow) : borrow_(borrow), held_(borrow == 0) {
        if (held_) borrow_ = -1;
    }
    ~BorrowGuard() {
        if (held_) borrow_ = 0;
    }
    BorrowGuard(const BorrowGuard&) = delete;
    BorrowGuard& operator=(const BorrowGuard&) = delete;

    // False when the record was already borrowed further up the stack.
    bool held() const { return held_; }

private:
    std::int64_t& borrow_;
    bool held_;
};
