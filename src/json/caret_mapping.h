#pragma once

#include <cstdint>
#include <string_view>

// Whether output is input with only its line breaks changed: CR LF and a lone
// CR in the input each stand for one LF in the output.
bool same_up_to_line_breaks(std::string_view input, std::string_view output);

struct SelectionRange {
    std::uint32_t start;
    std::uint32_t end;
};

// Carries an edit control's selection from the input text to its reformatted
// output. Positions are the control's: UTF-16 units, with a line break
// counting 2 in a plain edit control and 1 in a rich-edit control.
SelectionRange map_selection(std::string_view input, std::string_view output, SelectionRange selection,
                             bool rich_positions);
