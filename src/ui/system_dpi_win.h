#pragma once

// The program is system-DPI aware on every Windows 10 build. The calls made
// for that arrived in later builds (SetProcessDpiAwarenessContext in 1703,
// GetDpiForSystem in 1607): importing them would stop the loader on the
// first builds, so they are looked up at run time and the older calls stand
// in where they are missing.

// Declares the process system-DPI aware; a failure is ignored.
void declare_system_dpi_awareness();

// The system DPI as the system reports it (0 when it cannot be read).
unsigned system_dpi();
