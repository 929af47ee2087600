#pragma once

#include <windows.h>

#include <memory>

#include "timestamp/calendar.h"
#include "ui/tool_page_win.h"

inline constexpr int id_province_list_id = 401;
inline constexpr int id_generate_id = 402;
inline constexpr int id_copy_id = 403;

// The date the page takes as today, read at each press of "生成".
using TodaySource = CivilDate (*)();

// Today in the local time zone.
CivilDate local_today();

// Builds the controls and initial content of the ID number generator page inside the page
// window and returns its variant.
std::unique_ptr<PageVariant> build_id_number_page(HWND page, TodaySource today = local_today);
