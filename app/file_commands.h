// The File menu's commands on the module: Back up, Compare and Restore. Each asks its
// questions first, then runs the module's side as a worker job behind the progress dialog.
#pragma once

#include <functional>
#include <string>

#include "app/shell.h"
#include "app/worker_job.h"
#include "config/operations.h"
#include "ui/dialog_view.h"

namespace zavi {

struct FileCommandContext {
    DialogView& view;
    Shell& shell;
    // Runs a task as a job behind the progress dialog; false when it failed (the failure has
    // been shown) or the window is closing.
    std::function<bool(const WorkerTask&)> run_task;
    std::string backup_folder;  // of the automatic backup before a restore
};

// Runs `task` as a worker job behind the progress dialog, its steps shown there; false as
// run_job is.
using ModuleTask = std::function<LinkResult(DriverHandle, const config::Progress&)>;
bool run_module_task(FileCommandContext& ctx, const ModuleTask& task);

void back_up_module(FileCommandContext& ctx);
void compare_with_file(FileCommandContext& ctx);
// True when the module was written to (the panels then read it again).
bool restore_from_file(FileCommandContext& ctx);

// `path` with ".zavi.json" added when it has no ".json" ending (case-insensitive).
std::string with_configuration_extension(const std::string& path);

}  // namespace zavi
