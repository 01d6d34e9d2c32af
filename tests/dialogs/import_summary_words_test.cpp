// The import summary names why rows were rejected in the user's language.
#include <gtest/gtest.h>

#include "common/three_languages.h"
#include "dialogs/numbers_transfer.h"

namespace zavi {
namespace {

TEST(ImportSummary, RejectionReasonsInEachLanguage) {
    const std::string csv = "Telefon;Name\nbiuro;x\n+48 600 100;y\n+48 600 100 200 300 4;z\n";
    const auto adding = config::import_numbers_csv(csv, {}, config::ImportMode::add);
    const auto replacing = config::import_numbers_csv(csv, {}, config::ImportMode::replace);
    struct Case {
        uint8_t language;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {kPolish,
         {"    wiersz 2: to nie jest numer telefonu\r\n", "    wiersz 3: mniej niż 11 cyfr\r\n",
          "    wiersz 4: więcej niż 14 cyfr\r\n"}},
        {kEnglish,
         {"    line 2: not a telephone number\r\n", "    line 3: fewer than 11 digits\r\n",
          "    line 4: more than 14 digits\r\n"}},
        {kGerman,
         {"    Zeile 2: keine Telefonnummer\r\n", "    Zeile 3: weniger als 11 Ziffern\r\n",
          "    Zeile 4: mehr als 14 Ziffern\r\n"}},
    };
    for (const Case& c : cases) {
        const std::string text = import_summary_text(adding, replacing, c.language);
        for (const std::string& line : c.lines)
            EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    }
}

}  // namespace
}  // namespace zavi
