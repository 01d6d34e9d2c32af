// The signal survey: samples of the GSM signal over time, their statistics and a verdict from
// fixed bands and the reserve rule (the lowest sample at least 10 dB above the level where
// calls start to fail).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zavi::commission {

constexpr int kGoodFromDbm = -85;      // mean at or above: good
constexpr int kMarginalFromDbm = -95;  // mean at or above (and below good): marginal
constexpr int kFailureDbm = -105;      // calls and SMS start to fail around here
constexpr int kReserveDb = 10;         // the lowest sample must stay this far above it

struct SurveySample {
    double at_s = 0;         // from the start of the survey
    std::string clock;       // ISO-8601 with offset
    std::optional<int> dbm;  // none: the module had no reading
};

enum class Verdict { good, marginal, poor };

struct SurveyStats {
    int samples = 0, no_reading = 0;
    std::optional<int> present, lowest, highest;
    std::optional<double> mean;
};

struct SurveyResult {
    std::string started;
    double duration_s = 0;
    bool interrupted = false;
    std::vector<SurveySample> samples;

    SurveyStats stats() const;
};

struct Assessment {
    Verdict verdict = Verdict::poor;
    std::string reason;  // in words, in the language asked for
};

// 0 Polish, 1 English, anything else German.
Assessment assess(const SurveyStats& stats, uint8_t language);
const char* verdict_key(Verdict v);  // "good", "marginal", "poor"
std::string verdict_word(Verdict v, uint8_t language);

// CSV with the header "time,dbm" (an empty dbm for no reading).
std::string survey_csv(const SurveyResult& r);
std::string survey_to_json(const SurveyResult& r);  // with stats and the English verdict
bool survey_from_json(const std::string& text, SurveyResult* r, std::string* error);

}  // namespace zavi::commission
