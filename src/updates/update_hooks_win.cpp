#include "updates/update_hooks_win.h"

#include "updates/http/winhttp_transport_win.h"

Fetcher& update_fetcher() {
    static Fetcher fetch = fetch_url;
    return fetch;
}
