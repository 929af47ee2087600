#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <variant>

#include "main/update_state.h"
#include "updates/http/fetch.h"
#include "updates/update_manifest.h"

using Fetcher = std::function<FetchResult(const std::string& address, std::uint64_t limit)>;

// The whole download for the executable at exe_path: fetch, check, stage and
// hand off. InstallStarted, or InstallFailed with its message; no staging
// file is left behind after a failure.
UpdateOutcome download_and_hand_off(const UpdateManifest& manifest, const std::wstring& exe_path,
                                    const Fetcher& fetch);

// Body of the download thread: the outcome goes into UpdateState and
// UpdateFinished is posted to window.
void download_update(const UpdateManifest& manifest, HWND window);
