#include "fleet/site_order.h"

#include <algorithm>

namespace zavi::fleet {

bool assign_sites(const std::vector<std::string>& table_sites,
                  const std::vector<std::string>& identities, const BoundSite& bound_site,
                  std::vector<std::string>* sites, std::string* error) {
    std::vector<bool> taken(table_sites.size(), false);
    std::vector<std::string> out(identities.size());
    // Bound modules first, so that no unbound one earlier in port order takes their site.
    for (std::size_t m = 0; m < identities.size(); ++m) {
        if (identities[m].empty() || !bound_site) continue;
        const std::string bound = bound_site(identities[m]);
        if (bound.empty()) continue;
        const auto it = std::find(table_sites.begin(), table_sites.end(), bound);
        if (it == table_sites.end()) continue;  // a site this table does not have
        const auto t = static_cast<std::size_t>(it - table_sites.begin());
        if (taken[t]) continue;
        taken[t] = true;
        out[m] = bound;
    }
    std::size_t next = 0;
    for (std::size_t m = 0; m < identities.size(); ++m) {
        if (!out[m].empty()) continue;
        while (next < table_sites.size() && taken[next]) ++next;
        if (next == table_sites.size()) {
            *error = std::to_string(identities.size()) + " modules, but the table has " +
                     std::to_string(table_sites.size()) + " sites";
            return false;
        }
        taken[next] = true;
        out[m] = table_sites[next];
    }
    *sites = std::move(out);
    return true;
}

}  // namespace zavi::fleet
