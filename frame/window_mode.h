// Window mode: builds the main window and runs the event loop until it closes.
#pragma once

namespace morvane {

// Starts the desktop window; returns the process exit status.
int RunWindowMode(int argc, char** argv);

} // namespace morvane
