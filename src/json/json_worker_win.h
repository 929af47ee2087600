#pragma once

#include <windows.h>

#include <memory>

#include "json/json_job.h"

// The job's outcome, computed on the calling thread.
JsonResult compute_json_result(JsonJob job);

// The worker's whole life: compute, hand the result over, post
// JsonResultReady to the page, end. A job that fails for any reason of its
// own (memory, an internal fault) sends nothing but still posts, so the page
// finds the channel empty with the worker gone.
void run_json_job(JsonJob job, std::shared_ptr<JsonResultChannel> channel, HWND page);

// Starts run_json_job on a new, detached thread; false when no thread could be
// started (the job is then dropped).
bool start_json_worker(JsonJob job, std::shared_ptr<JsonResultChannel> channel, HWND page);
