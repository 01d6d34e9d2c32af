#include "dialogs/options_dialogs.h"

#include "resources/ids.h"

namespace zavi {

std::unique_ptr<DialogLogic> make_options_dialog(int template_id) {
    switch (template_id) {
        default:
            return nullptr;
    }
}

}  // namespace zavi
