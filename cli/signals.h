// SIGINT, SIGTERM and SIGHUP during a write to the module: kept in a flag instead of ending
// the tool, so that the frame in flight can finish and the tool can say what went out.
#pragma once

namespace zavi::cli {

// On: the three signals are kept (the first one counts), except one the tool was started with
// ignored (nohup). Off: their previous handling is back.
void watch_signals(bool on);

// The signal kept since watching began, or 0.
int caught_signal();

}  // namespace zavi::cli
