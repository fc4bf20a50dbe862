// Long work of the window on a worker thread, with the window repainting and a progress
// dialog that can cancel it.
#pragma once

#include <functional>

class QWidget;

namespace morvane {

// Told the share done (0 to 1); false once the person has cancelled.
using ProgressReport = std::function<bool(double)>;
// Runs on a worker thread; returns whether it finished (false when stopped by its report).
using ProgressWork = std::function<bool(const ProgressReport&)>;

// Runs work on a worker thread and waits for it, the GUI thread dispatching events
// meanwhile, with the seam's progress dialog. Returns whether the work finished without a
// cancel; false at once, work not run, while another run is in progress.
bool RunWithProgress(QWidget* parent, const ProgressWork& work);

} // namespace morvane
