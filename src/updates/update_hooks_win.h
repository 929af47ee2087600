#pragma once

// The network as the update threads reach it. Only tests replace it, before
// any update thread runs, to serve releases without a network.

#include "updates/download_win.h"

Fetcher& update_fetcher();
