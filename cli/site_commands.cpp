#include "cli/site_commands.h"

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

}  // namespace

int command_template(const Arguments& args, Environment& env) {
    Configuration full, partial;
    if (const int code = load_configuration(args.files[0], env, &full); code != kExitDone)
        return code;
    std::string why;
    if (!make_template(full, split_names(args.values.at("--only")), &partial, &why)) {
        env.err << "zavi-gsm-cli: template: " << why << "\n";
        return why.rfind("unknown", 0) == 0 ? kExitUsage : kExitInvalidFile;
    }
    const std::string& path = args.files[1];
    if (!write_configuration_file(path, partial, &why)) {
        env.err << "zavi-gsm-cli: " << path << " " << why << "\n";
        return kExitInvalidFile;
    }
    env.err << "zavi-gsm-cli: saved " << path << "\n";
    return kExitDone;
}

int load_site_configuration(const Arguments& args, Environment& env, Configuration* out) {
    Configuration base;
    if (const int code = load_configuration(args.files[0], env, &base); code != kExitDone)
        return code;
    const std::string& path = args.values.at("--sites");
    const std::string& label = args.values.at("--site");
    std::string text, why;
    if (!read_text_file(path, kMaxFileBytes, &text, &why)) {
        env.err << "zavi-gsm-cli: " << path << " " << why << "\n";
        return kExitInvalidFile;
    }
    SitesTable table;
    std::vector<SiteError> errors;
    if (!read_sites_table(text, base, &table, &errors)) {
        for (const SiteError& e : errors) env.err << "zavi-gsm-cli: " << describe(e, path) << "\n";
        env.err << "zavi-gsm-cli: nothing written\n";
        return kExitInvalidFile;
    }
    const Site* site = table.find(label);
    if (!site) {
        env.err << "zavi-gsm-cli: " << path << ": column site: no site " << label
                << " in the table; nothing written\n";
        return kExitInvalidFile;
    }
    if (table.sets("sim_codes") && !args.with_sim_codes) {
        env.err << "zavi-gsm-cli: " << path
                << ": the table sets sim_codes; add --with-sim-codes to write them\n";
        return kExitUsage;
    }
    if (args.with_sim_codes && !site->configuration.sim_codes) {
        env.err << "zavi-gsm-cli: " << args.files[0]
                << ": --with-sim-codes, but the template holds no sim_codes\n";
        return kExitInvalidFile;
    }
    if (args.with_sim_codes && !args.dry_run)
        env.err
            << "zavi-gsm-cli: warning: writing the SIM codes; a wrong PIN can lock the SIM card\n";
    env.err << "zavi-gsm-cli: site " << label << " (" << path << " row " << site->row << ")\n";
    *out = site->configuration;
    return kExitDone;
}

}  // namespace zavi::cli
