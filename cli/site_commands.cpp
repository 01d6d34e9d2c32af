#include "cli/site_commands.h"

#include "cli/module_access.h"
#include "cli/module_operations.h"
#include "cli/tool_messages.h"
#include "config/files.h"
#include "config/partial.h"
#include "config/sites_table.h"

namespace zavi::cli {

namespace {

using namespace zavi::config;

std::vector<std::string> split_names(const std::string& list) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        out.push_back(list.substr(start, comma - start));
        start = comma + 1;
    }
    return out;
}

// The configuration of --site from the template and --sites; nothing touches the module.
int load_site_configuration(const Arguments& args, Environment& env, Configuration* out) {
    Configuration base;
    if (const int code = load_configuration(args.files[0], env, &base); code != kExitDone)
        return code;
    const std::string& path = args.values.at("--sites");
    const std::string& label = args.values.at("--site");
    std::string text, why;
    if (!read_text_file(path, kMaxFileBytes, &text, &why))
        return fail(env.err, kExitInvalidFile, path, " ", why);
    SitesTable table;
    std::vector<SiteError> errors;
    if (!read_sites_table(text, base, &table, &errors)) {
        for (const SiteError& e : errors) tell(env.err, describe(e, path));
        return fail(env.err, kExitInvalidFile, "nothing written");
    }
    const Site* site = table.find(label);
    if (!site)
        return fail(env.err, kExitInvalidFile, path, ": column site: no site ", label,
                    " in the table; nothing written");
    if (table.sets("sim_codes") && !args.with_sim_codes)
        return fail(env.err, kExitUsage, path,
                    ": the table sets sim_codes; add --with-sim-codes to write them");
    if (args.with_sim_codes && !site->configuration.sim_codes)
        return fail(env.err, kExitInvalidFile, args.files[0],
                    ": --with-sim-codes, but the template holds no sim_codes");
    if (args.with_sim_codes && !args.dry_run)
        warn(env.err, "writing the SIM codes; a wrong PIN can lock the SIM card");
    tell(env.err, "site ", label, " (", path, " row ", site->row, ")");
    *out = site->configuration;
    return kExitDone;
}

}  // namespace

int command_template(const Arguments& args, Environment& env) {
    Configuration full, partial;
    if (const int code = load_configuration(args.files[0], env, &full); code != kExitDone)
        return code;
    std::string why;
    if (!make_template(full, split_names(args.values.at("--only")), &partial, &why)) {
        tell(env.err, "template: ", why);
        return why.rfind("unknown", 0) == 0 ? kExitUsage : kExitInvalidFile;
    }
    const std::string& path = args.files[1];
    if (!write_configuration_file(path, partial, &why))
        return fail(env.err, kExitCannotWrite, path, " ", why);
    tell(env.err, "saved ", path);
    return kExitDone;
}

int command_apply(const Arguments& args, Environment& env) {
    Configuration site;
    if (const int code = load_site_configuration(args, env, &site); code != kExitDone) return code;
    ModuleSession session(args, env);
    if (const int code = session.open(); code != kExitDone) return code;
    return session.close_after(restore(session, env, site, args.with_sim_codes, args.dry_run,
                                       nullptr, "apply", args.values.at("--site")));
}

}  // namespace zavi::cli
