#pragma once

// The lower block that the UUID and ID-number pages share: the count box,
// "生成", the results heading, "复制全部" and the results box, together with
// the text of the last generation, which is what "复制全部" copies.

#include <windows.h>

#include <string>
#include <string_view>

#include "uuid/batch.h"

class BatchPanel {
public:
    // Creates, in this order, the count caption and box ("10"), the results
    // heading, "生成" (generate_id), "复制全部" (copy_id, disabled) and the
    // read-only results box.
    BatchPanel(HWND page, int generate_id, int copy_id);

    // top is the top of the count caption; width and height are the page's.
    void layout(int top, int width, int height);

    std::string count_text() const;

    // A batch replaces the results, the heading and the text to copy, and
    // enables "复制全部"; a message goes to the status line as an error and
    // leaves everything as it was.
    void show(BatchOutcome outcome);

    // "复制全部": the last generation's text, LF turned into CR LF.
    void copy() const;

private:
    void replace_results(std::string_view text);

    HWND page_;
    HWND count_caption_;
    HWND count_field_;
    HWND heading_;
    HWND generate_;
    HWND copy_;
    HWND results_;
    std::string last_text_;
};
