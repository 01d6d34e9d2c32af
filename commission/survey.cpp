#include "commission/survey.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/three_languages.h"
#include "config/json.h"
#include "link/status_values.h"

namespace zavi::commission {

namespace {

std::string db(int v) {
    return std::to_string(v) + " dBm";
}

// More than this share of samples without a reading is itself a poor signal.
constexpr double kMaxNoReadingShare = 0.10;
}  // namespace

SurveyStats SurveyResult::stats() const {
    SurveyStats s;
    double sum = 0;
    int with = 0;
    for (const SurveySample& x : samples) {
        ++s.samples;
        s.present = x.dbm;
        if (!x.dbm) {
            ++s.no_reading;
            continue;
        }
        s.lowest = s.lowest ? std::min(*s.lowest, *x.dbm) : *x.dbm;
        s.highest = s.highest ? std::max(*s.highest, *x.dbm) : *x.dbm;
        sum += *x.dbm;
        ++with;
    }
    if (with > 0) s.mean = sum / with;
    return s;
}

const char* verdict_key(Verdict v) {
    return v == Verdict::good ? "good" : v == Verdict::marginal ? "marginal" : "poor";
}

std::string verdict_word(Verdict v, uint8_t l) {
    return v == Verdict::good       ? pick_text(l, "dobry", "good", "gut")
           : v == Verdict::marginal ? pick_text(l, "graniczny", "marginal", "grenzwertig")
                                    : pick_text(l, "słaby", "poor", "schlecht");
}

Assessment assess(const SurveyStats& s, uint8_t l) {
    const int reserve_floor = kFailureDbm + kReserveDb;
    if (!s.mean)
        return {Verdict::poor, pick_text(l, "Brak jakiegokolwiek odczytu sygnału.",
                                         "The module gave no signal reading at all.",
                                         "Das Modul lieferte keinen einzigen Signalwert.")};
    if (s.no_reading > s.samples * kMaxNoReadingShare)
        return {Verdict::poor, std::to_string(s.no_reading) + " / " + std::to_string(s.samples) +
                                   " " +
                                   pick_text(l, "próbek bez odczytu sygnału (więcej niż 10 %).",
                                             "samples had no signal reading (more than 10 %).",
                                             "Messungen ohne Signalwert (mehr als 10 %).")};
    const int mean = static_cast<int>(std::lround(*s.mean));
    if (*s.lowest < kFailureDbm || mean < kMarginalFromDbm)
        return {Verdict::poor,
                pick_text(l, "Najniższa próbka ", "The lowest sample, ", "Der niedrigste Wert, ") +
                    db(*s.lowest) +
                    pick_text(l, ", średnia ", ", and the mean, ", ", und der Mittelwert, ") +
                    db(mean) +
                    pick_text(l, ": połączenia mogą się nie udawać (poniżej ",
                              ": calls are likely to fail (below ",
                              ": Anrufe werden wahrscheinlich scheitern (unter ") +
                    db(kFailureDbm) +
                    pick_text(l, " lub średnia poniżej ", " or a mean below ",
                              " oder Mittelwert unter ") +
                    db(kMarginalFromDbm) + ")."};
    if (*s.lowest < reserve_floor || mean < kGoodFromDbm || s.no_reading > 0)
        return {Verdict::marginal,
                pick_text(l, "Średnia ", "The mean is ", "Der Mittelwert ist ") + db(mean) +
                    pick_text(l, ", najniższa próbka ", ", the lowest sample ",
                              ", der niedrigste Wert ") +
                    db(*s.lowest) +
                    pick_text(l, "; zapas wymaga co najmniej ", "; a reserve needs at least ",
                              "; eine Reserve braucht mindestens ") +
                    db(reserve_floor) +
                    pick_text(l, " (10 dB ponad ", " (10 dB above ", " (10 dB über ") +
                    db(kFailureDbm) +
                    pick_text(l, ") i średnią od ", ") and a mean from ",
                              ") und einen Mittelwert ab ") +
                    db(kGoodFromDbm) +
                    (s.no_reading > 0 ? pick_text(l, "; były próbki bez odczytu.",
                                                  "; some samples had no reading.",
                                                  "; einige Messungen ohne Wert.")
                                      : std::string(".")) +
                    pick_text(l, " Warto przestawić antenę.", " Try moving the antenna.",
                              " Antenne besser umsetzen.")};
    return {Verdict::good, pick_text(l, "Średnia ", "The mean is ", "Der Mittelwert ist ") +
                               db(mean) +
                               pick_text(l, ", najniższa próbka ", " and the lowest sample ",
                                         ", der niedrigste Wert ") +
                               db(*s.lowest) +
                               pick_text(l, ": co najmniej 10 dB ponad ", ": at least 10 dB above ",
                                         ": mindestens 10 dB über ") +
                               db(kFailureDbm) + "."};
}

std::string survey_csv(const SurveyResult& r) {
    std::string out = "time,dbm\n";
    for (const SurveySample& s : r.samples)
        out += s.clock + "," + (s.dbm ? std::to_string(*s.dbm) : std::string()) + "\n";
    return out;
}

std::string survey_to_json(const SurveyResult& r) {
    const SurveyStats s = r.stats();
    const Assessment a = assess(s, kEnglish);
    auto opt = [](const auto& v) { return v ? Json(*v) : Json(nullptr); };
    Json j;
    j["format"] = "zavi-gsm-survey";
    j["started"] = r.started;
    j["duration_s"] = r.duration_s;
    j["interrupted"] = r.interrupted;
    j["samples"] = s.samples;
    j["no_reading"] = s.no_reading;
    j["present_dbm"] = opt(s.present);
    j["lowest_dbm"] = opt(s.lowest);
    j["mean_dbm"] = opt(s.mean);
    j["highest_dbm"] = opt(s.highest);
    j["verdict"] = verdict_key(a.verdict);
    j["reason"] = a.reason;
    j["series"] = Json::array();
    for (const SurveySample& x : r.samples)
        j["series"].push_back({{"at_s", x.at_s}, {"time", x.clock}, {"dbm", opt(x.dbm)}});
    return j.dump(2) + "\n";
}

bool survey_from_json(const std::string& text, SurveyResult* out, std::string* error) {
    try {
        const Json j = parse_json(text);
        if (j.value("format", "") != "zavi-gsm-survey") {
            *error = "not a survey result (format \"zavi-gsm-survey\")";
            return false;
        }
        SurveyResult r;
        r.started = j.at("started").get<std::string>();
        r.duration_s = j.at("duration_s").get<double>();
        r.interrupted = j.at("interrupted").get<bool>();
        const Json& series = j.at("series");
        if (!series.is_array()) throw std::runtime_error("series: expected an array");
        for (const Json& x : series) {
            SurveySample s;
            s.at_s = x.at("at_s").get<double>();
            s.clock = x.at("time").get<std::string>();
            if (!x.at("dbm").is_null()) {
                const int v = x.at("dbm").get<int>();
                if (v < kSignalDbmMin || v > kSignalDbmMax)
                    throw std::runtime_error("dbm out of range");
                s.dbm = v;
            }
            r.samples.push_back(std::move(s));
        }
        *out = std::move(r);
        return true;
    } catch (const std::exception& e) {
        *error = std::string("not a valid survey result: ") + e.what();
        return false;
    }
}

}  // namespace zavi::commission
