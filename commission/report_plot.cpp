// The survey's plot: dBm over time as an SVG polyline, with the failure level and the reserve
// line, drawn from the samples alone (no script, no outside resource).
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "commission/report.h"
#include "link/status_values.h"

namespace zavi::commission {

namespace {
constexpr double kWidth = 640, kHeight = 200, kLeft = 44, kBottom = 22, kTop = 8;
constexpr int kTopDbm = kSignalDbmMax, kBottomDbm = kSignalDbmMin;

double y_of(int dbm) {
    return kTop + (kTopDbm - dbm) * (kHeight - kTop - kBottom) / double(kTopDbm - kBottomDbm);
}

std::string num(double v) {
    char t[32];
    std::snprintf(t, sizeof t, "%.1f", v);
    return t;
}
}  // namespace

std::string survey_plot_svg(const SurveyResult& r) {
    const double span = std::max(1.0, r.samples.empty() ? 1.0 : r.samples.back().at_s);
    const auto x_of = [&](double s) { return kLeft + s * (kWidth - kLeft - 6) / span; };
    std::string svg =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 640 200\" "
        "width=\"100%\" role=\"img\" style=\"max-height:62mm\">\n"
        "<rect x=\"44\" y=\"8\" width=\"590\" height=\"170\" fill=\"#fafafa\" "
        "stroke=\"#999\"/>\n";
    for (int dbm = -110; dbm <= -50; dbm += 10)
        svg += "<text x=\"40\" y=\"" + num(y_of(dbm) + 3) +
               "\" font-size=\"9\" text-anchor=\"end\">" + std::to_string(dbm) + "</text>\n";
    const auto hline = [&](int dbm, const char* colour) {
        svg += "<line x1=\"44\" x2=\"634\" y1=\"" + num(y_of(dbm)) + "\" y2=\"" + num(y_of(dbm)) +
               "\" stroke=\"" + colour + "\" stroke-dasharray=\"4 3\"/>\n";
    };
    hline(kFailureDbm, "#c00");
    hline(kFailureDbm + kReserveDb, "#d80");
    hline(kGoodFromDbm, "#080");
    svg +=
        "<text x=\"44\" y=\"196\" font-size=\"9\">0 s</text>\n<text x=\"634\" y=\"196\" "
        "font-size=\"9\" text-anchor=\"end\">" +
        num(span) + " s</text>\n";
    // A gap in the line where the module had no reading.
    std::string points;
    const auto flush = [&] {
        if (!points.empty())
            svg += "<polyline fill=\"none\" stroke=\"#1565c0\" stroke-width=\"1.5\" points=\"" +
                   points + "\"/>\n";
        points.clear();
    };
    // A long survey is drawn from at most kBuckets groups, each by its lowest and highest sample,
    // so the page stays small and no dip disappears.
    constexpr std::size_t kBuckets = 400;
    std::vector<SurveySample> drawn;
    if (r.samples.size() <= 2 * kBuckets) {
        drawn = r.samples;
    } else {
        const std::size_t per = (r.samples.size() + kBuckets - 1) / kBuckets;
        for (std::size_t b = 0; b < r.samples.size(); b += per) {
            const SurveySample* low = nullptr;
            const SurveySample* high = nullptr;
            const SurveySample* gap = nullptr;
            for (std::size_t i = b; i < std::min(r.samples.size(), b + per); ++i) {
                const SurveySample& s = r.samples[i];
                if (!s.dbm) {
                    gap = gap ? gap : &s;
                    continue;
                }
                if (!low || *s.dbm < *low->dbm) low = &s;
                if (!high || *s.dbm > *high->dbm) high = &s;
            }
            if (gap) drawn.push_back(*gap);
            if (low && high && high->at_s < low->at_s) std::swap(low, high);
            if (low) drawn.push_back(*low);
            if (high && high != low) drawn.push_back(*high);
        }
    }
    for (const SurveySample& s : drawn) {
        if (!s.dbm) {
            flush();
            svg += "<circle cx=\"" + num(x_of(s.at_s)) + "\" cy=\"" + num(y_of(kBottomDbm)) +
                   "\" r=\"2\" fill=\"#c00\"/>\n";
            continue;
        }
        points += num(x_of(s.at_s)) + "," + num(y_of(*s.dbm)) + " ";
    }
    flush();
    return svg + "</svg>\n";
}

}  // namespace zavi::commission
