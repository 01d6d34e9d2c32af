// The report as text: every outside text escaped, no script or outside resource, SIM codes
// never shown, and the checksum that ties it to its backup computed right.
#include <gtest/gtest.h>

#include <string>

#include "commission/html_text.h"
#include "commission/report.h"
#include "commission/sha256.h"

namespace zavi::commission {
namespace {

TEST(Sha256, KnownDigests) {
    struct Row {
        std::string input;
        const char* digest;
    };
    const Row rows[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",  // 56 bytes: two blocks
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
        {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
    };
    for (const Row& row : rows) EXPECT_EQ(sha256_hex(row.input), row.digest) << row.input.size();
}

TEST(Html, EscapesEverythingThatCouldBeMarkup) {
    EXPECT_EQ(escape_html("<script>alert(1)</script>"), "&lt;script&gt;alert(1)&lt;/script&gt;");
    EXPECT_EQ(escape_html("a & \"b\" 'c'"), "a &amp; &quot;b&quot; &#39;c&#39;");
    EXPECT_EQ(escape_html(std::string("x\x01y", 3)), "x&#xFFFD;y");
    EXPECT_EQ(escape_html("Tür żółw"), "Tür żółw");
}

ReportInput hostile_input(uint8_t language) {
    const std::string evil = "<script>alert(1)</script>";
    ReportInput in;
    in.language = language;
    in.site = "Site \"A\" & <b>B</b>";
    in.installer = evil;
    in.made_at = "2026-12-09T10:00:00+01:00";
    in.program_version = "1.5";
    in.connection = "COM5";
    in.firmware = "v1.7";
    config::Configuration& c = in.configuration;
    for (auto& n : c.io_names) n = evil;
    c.io_names[3] = "<img src=x onerror=alert(2)>";
    c.emergency_numbers = {"48600100200"};
    c.accepted_numbers.assign(260, "48500000000");
    c.sim_codes = config::SimCodesValue{"4321", "87654321"};
    in.pin_set = true;
    Snapshot live;
    live.io = {evil, evil, evil, evil, evil, evil};
    live.operator_name = "</td></tr></table><script>";
    in.live = live;
    WalkTestResult w;
    w.inputs[0].states[0].name = evil;
    w.inputs[0].unknown = evil;
    w.inputs[0].note = RowNote::unknown_text;
    in.walk_test = w;
    SurveyResult s;
    s.samples = {{0.1, "t", -71}, {0.2, "t", std::nullopt}, {0.3, "t", -99}};
    in.survey = s;
    in.backup_name = "site.zavi.json";
    in.backup_sha256 = std::string(64, 'a');
    return in;
}

TEST(Report, NothingFromOutsideBecomesMarkupAndNoSimCodeAppears) {
    for (uint8_t language : {0, 1, 2}) {
        const std::string html = build_report(hostile_input(language));
        EXPECT_EQ(html.find("<script"), std::string::npos) << int(language);
        EXPECT_EQ(html.find("<img"), std::string::npos) << int(language);
        EXPECT_EQ(html.find("<b>"), std::string::npos) << int(language);
        EXPECT_NE(html.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
        EXPECT_EQ(html.find("4321"), std::string::npos) << int(language);      // PIN
        EXPECT_EQ(html.find("87654321"), std::string::npos) << int(language);  // PUK
        EXPECT_EQ(html.find("href"), std::string::npos);
        EXPECT_EQ(html.find("url("), std::string::npos);
        EXPECT_NE(html.find(std::string(64, 'a')), std::string::npos);
        EXPECT_NE(html.find("<svg"), std::string::npos);
        EXPECT_NE(html.find("+48500000000"), std::string::npos);
    }
    EXPECT_NE(build_report(hostile_input(0)).find("lang=\"pl\""), std::string::npos);
    EXPECT_NE(build_report(hostile_input(2)).find("Inbetriebnahmeprotokoll"), std::string::npos);
}

TEST(Report, ChecksNotDoneAreSaid) {
    ReportInput in = hostile_input(1);
    in.walk_test.reset();
    in.survey.reset();
    in.pin_set.reset();
    in.live.reset();
    const std::string html = build_report(in);
    EXPECT_NE(html.find("<p>Could not be read.</p>"), std::string::npos);
    EXPECT_NE(html.find("<h2>Walk test</h2><p>Not done.</p>"), std::string::npos);
    EXPECT_NE(html.find("<h2>Signal survey</h2><p>Not done.</p>"), std::string::npos);
    EXPECT_NE(html.find("not read"), std::string::npos);
}

TEST(Report, ALongSurveyIsDrawnSmallWithoutLosingItsDips) {
    SurveyResult s;
    for (int i = 0; i < 36000; ++i) s.samples.push_back({i * 0.016, "t", i == 20000 ? -111 : -71});
    const std::string svg = survey_plot_svg(s);
    EXPECT_LT(svg.size(), 40'000u);
    // The one dip to -111 dBm is still drawn (its y is near the bottom of the plot).
    const std::string plot = svg.substr(svg.find("<polyline"));
    EXPECT_NE(plot.find(",172."), std::string::npos) << plot.substr(0, 300);
}

}  // namespace
}  // namespace zavi::commission
