#pragma once

#include <cstddef>
#include <functional>

// Most bytes of operator new live at once while f runs (blocks made before
// it count from zero).
std::size_t heap_peak_of(const std::function<void()>& f);
