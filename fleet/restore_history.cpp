#include "fleet/restore_history.h"

namespace zavi::fleet {

const char* restore_result(config::RestoreOutcome outcome) {
    switch (outcome) {
        case config::RestoreOutcome::already_equal:
            return "unchanged";
        case config::RestoreOutcome::verified:
            return "verified";
        case config::RestoreOutcome::write_failed:
            return "write-failed";
        case config::RestoreOutcome::verify_failed:
            return "verify-failed";
        case config::RestoreOutcome::verify_unreadable:
            return "verify-unreadable";
        case config::RestoreOutcome::interrupted:  // part of what went out is unknown
            return "interrupted";
        case config::RestoreOutcome::planned:
        case config::RestoreOutcome::read_failed:
        case config::RestoreOutcome::backup_failed:
            break;
    }
    return nullptr;
}

bool result_is_uncertain(const std::string& result) {
    return result == "write-failed" || result == "interrupted" || result == "verify-failed" ||
           result == "verify-unreadable";
}

config::Configuration restore_copy(config::Configuration target, bool with_sim_codes,
                                   const config::RestoreReport& report) {
    if (report.outcome == config::RestoreOutcome::already_equal) return report.module_before;
    // The SIM codes the module keeps are not known unless they were read or written.
    if (!with_sim_codes) target.sim_codes = report.module_before.sim_codes;
    return target;
}

}  // namespace zavi::fleet
