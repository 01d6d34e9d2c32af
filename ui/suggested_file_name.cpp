#include "ui/suggested_file_name.h"

#include <cstdio>

namespace zavi {

std::string suggested_file_name(FileKind kind, const std::tm& t) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d-%02d%02d", (t.tm_year + 1900) % 10000,
                  (t.tm_mon + 1) % 100, t.tm_mday % 100, t.tm_hour % 100, t.tm_min % 100);
    switch (kind) {
        case FileKind::configuration:
            return "zavi-" + std::string(stamp) + ".zavi.json";
        case FileKind::survey_csv:
            return "zavi-survey-" + std::string(stamp) + ".csv";
        case FileKind::report_html:
            return "zavi-report-" + std::string(stamp) + ".html";
        default:
            return "zavi-numbers-" + std::string(stamp) + ".csv";
    }
}

}  // namespace zavi
