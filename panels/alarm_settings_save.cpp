// The Save button of the alarm settings; kept apart from the panel's drawing because it is the
// one part that talks to the module.
#include "link/connection.h"
#include "link/status_commands.h"
#include "panels/alarm_settings_panel.h"
#include "panels/status_panel.h"
#include "ui/messages.h"
#include "ui/ui_language.h"

namespace zavi {

void save_alarm_settings(DialogView& view) {
    store_alarm_settings(view);
    if (!validate_thresholds(view)) return;
    // Sent on the user-interface thread, without the progress dialog.
    if (write_alarm_settings(device_handle) != LinkResult::ok) {
        show_communication_error(view, ui_language);
        return;
    }
    refresh_panels(view);
}

}  // namespace zavi
