// The survey's statistics and verdict at the band edges, with gaps in the readings.
#include <gtest/gtest.h>

#include <vector>

#include "commission/survey.h"

namespace zavi::commission {
namespace {

SurveyResult samples(std::vector<std::optional<int>> dbm) {
    SurveyResult r;
    double t = 0;
    for (const auto& v : dbm) r.samples.push_back({t += 0.1, "now", v});
    return r;
}

TEST(Survey, VerdictTable) {
    const std::optional<int> none;
    struct Row {
        const char* what;
        std::vector<std::optional<int>> dbm;
        Verdict verdict;
    };
    const Row rows[] = {
        {"strong and steady", {-71, -73, -75}, Verdict::good},
        {"lowest exactly 10 dB above failure", {-95, -75, -75, -75}, Verdict::good},
        {"lowest 1 dB short of the reserve", {-96, -75, -75, -75}, Verdict::marginal},
        {"mean just under good", {-86, -86}, Verdict::marginal},
        {"mean exactly at good", {-85, -85}, Verdict::good},
        {"mean in the marginal band", {-93, -91}, Verdict::marginal},
        {"mean under marginal", {-97, -97}, Verdict::poor},
        {"a dip below the failure level", {-71, -107, -71, -71}, Verdict::poor},
        {"one gap in twenty",
         {none, -71, -71, -71, -71, -71, -71, -71, -71, -71,
          -71,  -71, -71, -71, -71, -71, -71, -71, -71, -71},
         Verdict::marginal},
        {"many gaps", {none, none, -71, -71}, Verdict::poor},
        {"no reading at all", {none, none}, Verdict::poor},
        {"no samples", {}, Verdict::poor},
    };
    for (const Row& row : rows) {
        const SurveyStats s = samples(row.dbm).stats();
        for (uint8_t language : {0, 1, 2}) {
            const Assessment a = assess(s, language);
            EXPECT_EQ(a.verdict, row.verdict) << row.what << " " << verdict_key(a.verdict);
            EXPECT_FALSE(a.reason.empty()) << row.what;
        }
    }
}

TEST(Survey, StatisticsLeaveGapsOut) {
    const SurveyStats s = samples({-80, std::nullopt, -70, -90, std::nullopt}).stats();
    EXPECT_EQ(s.samples, 5);
    EXPECT_EQ(s.no_reading, 2);
    EXPECT_EQ(s.lowest, -90);
    EXPECT_EQ(s.highest, -70);
    EXPECT_DOUBLE_EQ(*s.mean, -80.0);
    EXPECT_FALSE(s.present.has_value());  // the last sample had no reading
    EXPECT_EQ(survey_csv(samples({-80, std::nullopt})), "time,dbm\nnow,-80\nnow,\n");
}

TEST(Survey, ResultSurvivesItsFileAndBadValuesAreRefused) {
    SurveyResult r = samples({-80, std::nullopt, -49, -113});
    r.started = "2026-12-09T10:00:00+01:00";
    r.interrupted = true;
    SurveyResult back;
    std::string error;
    ASSERT_TRUE(survey_from_json(survey_to_json(r), &back, &error)) << error;
    EXPECT_EQ(survey_to_json(back), survey_to_json(r));
    std::string bad = survey_to_json(samples({-80}));
    bad.replace(bad.find("\"dbm\": -80"), 10, "\"dbm\": 12");
    EXPECT_FALSE(survey_from_json(bad, &back, &error));
    EXPECT_FALSE(survey_from_json("{\"format\": \"zavi-gsm-walk-test\"}", &back, &error));
}

}  // namespace
}  // namespace zavi::commission
