// Which site each module of a clone gets.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace zavi::fleet {

// The site already bound to a module's identity (its history), or "".
using BoundSite = std::function<std::string(const std::string& identity)>;

// For the modules in port order (their identities, "" unknown): a module bound to a site of the
// table keeps it; the others take the table's remaining sites in table order. False with the
// reason in *error when there are more modules than sites.
bool assign_sites(const std::vector<std::string>& table_sites,
                  const std::vector<std::string>& identities, const BoundSite& bound_site,
                  std::vector<std::string>* sites, std::string* error);

}  // namespace zavi::fleet
