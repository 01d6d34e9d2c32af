#include "app/station_sites.h"

#include <vector>

#include "config/config_file.h"
#include "config/files.h"
#include "config/sites_table.h"

namespace zavi {

namespace {

class TablePlan : public StationPlan {
  public:
    explicit TablePlan(config::SitesTable table) : table_(std::move(table)) {}
    std::vector<std::string> sites() const override {
        std::vector<std::string> labels;
        for (const config::Site& site : table_.sites) labels.push_back(site.label);
        return labels;
    }
    bool configuration_for(const std::string& label, config::Configuration* out,
                           std::string* error) const override {
        const config::Site* site = table_.find(label);
        if (!site) {
            *error = "no site " + label;
            return false;
        }
        *out = site->configuration;
        return true;
    }

  private:
    config::SitesTable table_;
};

}  // namespace

bool load_station_file(const std::string& path, config::Configuration* cfg, std::string* error) {
    std::string text;
    config::FileError problem;
    std::vector<std::string> warnings;
    if (!config::read_text_file(path, config::kMaxFileBytes, &text, error)) {
        *error = path + ": " + *error;
        return false;
    }
    if (config::parse_configuration(text, cfg, &problem, &warnings)) return true;
    *error = config::describe(problem, path);
    return false;
}

std::unique_ptr<StationPlan> make_station_sites_plan(const std::string& template_path,
                                                     const std::string& sites_path,
                                                     std::string* error) {
    config::Configuration base;
    if (!load_station_file(template_path, &base, error)) return nullptr;
    std::string text, why;
    if (!config::read_text_file(sites_path, config::kMaxFileBytes, &text, &why)) {
        *error = sites_path + ": " + why;
        return nullptr;
    }
    config::SitesTable table;
    std::vector<config::SiteError> errors;
    if (!config::read_sites_table(text, base, &table, &errors)) {
        error->clear();
        for (const config::SiteError& e : errors) {
            if (!error->empty()) error->push_back('\n');
            error->append(config::describe(e, sites_path));
        }
        return nullptr;
    }
    return std::make_unique<TablePlan>(std::move(table));
}

}  // namespace zavi
