#include "cli/history_command.h"

#include <filesystem>
#include <nlohmann/json.hpp>

#include "cli/tool_messages.h"
#include "fleet/identity.h"
#include "fleet/module_history.h"
#include "fleet/restore_history.h"

namespace zavi::cli {

namespace {

using Json = nlohmann::json;

std::string full_path(const std::string& folder, const std::string& file) {
    const std::filesystem::path p =
        std::filesystem::path(std::u8string(folder.begin(), folder.end())) /
        std::u8string(file.begin(), file.end());
    const std::u8string s = std::filesystem::path(p).make_preferred().u8string();
    return std::string(s.begin(), s.end());
}

void print_text(const fleet::ModuleHistory& history, std::ostream& out) {
    for (const fleet::HistoryItem& item : history.items) {
        const fleet::HistoryEntry& e = item.entry;
        out << e.time << "  " << e.identity << "  " << e.operation << "  " << e.result;
        if (!e.site.empty()) out << "  site " << e.site;
        out << "  " << e.file << "\n";
        if (fleet::result_is_uncertain(e.result))
            out << "    (what was sent; the module may hold only part of it)\n";
        if (!item.problem.empty())
            out << "    cannot compare: " << item.problem << "\n";
        else if (item.first)
            out << "    first copy of this module\n";
        else if (item.changes.empty())
            out << "    no change\n";
        for (const std::string& line : config::difference_lines(item.changes))
            out << "    " << line << "\n";
    }
}

void print_json(const fleet::ModuleHistory& history, const std::string& folder, std::ostream& out) {
    Json all = Json::array();
    for (const fleet::HistoryItem& item : history.items) {
        const fleet::HistoryEntry& e = item.entry;
        Json j = {{"time", e.time},
                  {"identity", e.identity},
                  {"site", e.site},
                  {"operation", e.operation},
                  {"result", e.result},
                  {"file", e.file},
                  {"path", full_path(folder, e.file)},
                  {"first", item.first}};
        j["changes"] = Json::parse(config::differences_json(item.changes));
        j["problem"] = item.problem.empty() ? Json(nullptr) : Json(item.problem);
        all.push_back(std::move(j));
    }
    out << all.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
}

}  // namespace

int command_history(const Arguments& args, Environment& env) {
    const std::string& folder = env.history_folder;
    if (folder.empty())
        return fail(env.err, kExitInvalidFile,
                    "no folder for the module history (no home folder known)");
    const std::string key = args.files.empty() ? std::string() : args.files[0];
    fleet::ModuleHistory history;
    std::string why;
    if (!fleet::module_history(folder, key, &history, &why))
        return fail(env.err, kExitInvalidFile, why);
    if (history.skipped_lines > 0)
        warn(env.err, fleet::index_path(folder), ": ", history.skipped_lines,
             " line(s) are no whole entry (cut short?), skipped");
    if (args.json)
        print_json(history, folder, env.out);
    else
        print_text(history, env.out);
    if (!history.items.empty()) return kExitDone;
    if (key.empty()) {
        tell(env.err, "no copies kept yet in ", folder);
        return kExitDone;
    }
    return fail(env.err, kExitNoModule, "no module or site ", key, " in the history");
}

void keep_in_history(Environment& env, const std::string& serial, const std::string& operation,
                     const std::string& result, const config::Configuration& cfg,
                     const std::string& site) {
    if (env.history_folder.empty()) return;
    if (!fleet::is_identity(serial))
        tell(env.err,
             "the module's identity is unknown (its port gives no USB serial "
             "number); its copy is kept as \"",
             fleet::kUnknownIdentity, "\"");
    fleet::HistoryEntry entry, kept;
    entry.identity = serial;
    entry.site = site;
    entry.operation = operation;
    entry.result = result;
    std::string why;
    if (!fleet::keep_copy(env.history_folder, entry, cfg, &kept, &why)) {
        warn(env.err, "not kept in the module history: ", why);
        return;
    }
    tell(env.err, "module history: ", full_path(env.history_folder, kept.file));
}

void keep_restore_in_history(Environment& env, const std::string& serial,
                             const std::string& operation, config::Configuration target,
                             bool with_sim_codes, const config::RestoreReport& report,
                             const std::string& site) {
    const char* result = fleet::restore_result(report.outcome);
    if (!result) return;
    keep_in_history(env, serial, operation, result,
                    fleet::restore_copy(std::move(target), with_sim_codes, report), site);
}

}  // namespace zavi::cli
