#include "fleet/site_order.h"

#include <gtest/gtest.h>

#include <map>

namespace zavi::fleet {
namespace {

TEST(SiteOrderTest, BoundModulesKeepTheirSitesTheOthersTakeTheRestInTableOrder) {
    const std::vector<std::string> table = {"north", "south", "east", "west"};
    const std::map<std::string, std::string> history = {
        {"FT1", "east"}, {"FT2", "gone"}, {"FT3", "east"}};
    const BoundSite bound = [&](const std::string& id) {
        const auto it = history.find(id);
        return it == history.end() ? std::string() : it->second;
    };
    struct Case {
        const char* name;
        std::vector<std::string> identities;
        std::vector<std::string> sites;  // empty: refused
    };
    const Case cases[] = {
        {"none bound", {"", "FT9", ""}, {"north", "south", "east"}},
        {"a later port bound", {"", "", "FT1"}, {"north", "south", "east"}},
        {"an earlier port bound", {"FT1", "", ""}, {"east", "north", "south"}},
        // A site this table lacks, or one already kept by an earlier port, counts as unbound.
        {"bound elsewhere", {"FT2", "FT1", "FT3"}, {"north", "east", "south"}},
        {"every site", {"", "", "", ""}, {"north", "south", "east", "west"}},
        {"more modules than sites", {"", "", "", "", ""}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> sites = {"untouched"};
        std::string error;
        const bool ok = assign_sites(table, c.identities, bound, &sites, &error);
        EXPECT_EQ(ok, !c.sites.empty());
        if (ok) {
            EXPECT_EQ(sites, c.sites);
        } else {
            EXPECT_EQ(error, "5 modules, but the table has 4 sites");
            EXPECT_EQ(sites, std::vector<std::string>{"untouched"});
        }
    }
}

}  // namespace
}  // namespace zavi::fleet
