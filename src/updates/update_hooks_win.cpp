#include "updates/update_hooks_win.h"

#include "updates/http/winhttp_transport_win.h"

UpdateHooks& update_hooks() {
    static UpdateHooks hooks{fetch_url};
    return hooks;
}
