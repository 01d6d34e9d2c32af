#include "dialogs/numbers_transfer.h"

#include <algorithm>

#include "config/config_file.h"
#include "config/configuration.h"
#include "config/files.h"
#include "dialogs/phone_numbers_dialog.h"
#include "resources/ids.h"
#include "ui/file_problem.h"
#include "ui/messages.h"
#include "ui/ui_language.h"
#include "ui/vocabulary.h"

namespace zavi {

namespace {

constexpr std::size_t kRejectedShown = 5;

// The accepted list of the dialog as digits (its items read "+digits").
std::vector<std::string> current_numbers(DialogView& view) {
    std::vector<std::string> numbers;
    for (int i = 0; i < view.item_count(IDC_RECEIVED_LIST); ++i) {
        std::string item = view.item_text(IDC_RECEIVED_LIST, i);
        if (!item.empty() && item[0] == '+') item.erase(0, 1);
        numbers.push_back(item);
    }
    return numbers;
}

const char* reason_words(config::RowReason reason, uint8_t l) {
    using config::RowReason;
    switch (reason) {
        case RowReason::not_a_number:
            return pick_text(l, "to nie jest numer telefonu", "not a telephone number",
                             "keine Telefonnummer");
        case RowReason::too_few_digits:
            return pick_text(l, "mniej niż 11 cyfr", "fewer than 11 digits",
                             "weniger als 11 Ziffern");
        case RowReason::too_many_digits:
            return pick_text(l, "więcej niż 14 cyfr", "more than 14 digits", "mehr als 14 Ziffern");
        case RowReason::earlier_in_file:
            return pick_text(l, "już wcześniej w pliku", "already earlier in the file",
                             "bereits weiter oben in der Datei");
        case RowReason::already_in_list:
            return pick_text(l, "już na liście", "already in the list", "bereits in der Liste");
        case RowReason::none:
            break;
    }
    return "";
}

}  // namespace

std::string import_summary_text(const config::ImportReport& adding,
                                const config::ImportReport& replacing, uint8_t l) {
    const auto count = [](std::size_t n) { return std::to_string(n); };
    std::string t;
    const auto line = [&t, &count](const char* label, std::size_t n) {
        t += label + count(n) + "\r\n";
    };
    line(pick_text(l, "Wierszy: ", "Rows read: ", "Gelesene Zeilen: "), adding.rows);
    line(pick_text(l,
                   "Poprawnych nowych numerów: ", "Valid new numbers: ", "Gültige neue Nummern: "),
         adding.valid.size());
    const std::size_t in_file = replacing.duplicates.size();
    line(pick_text(
             l, "Powtórzonych w pliku: ", "Duplicates within the file: ", "Doppelt in der Datei: "),
         in_file);
    line(pick_text(l, "Już na liście: ", "Already in the list: ", "Bereits in der Liste: "),
         adding.duplicates.size() - std::min(adding.duplicates.size(), in_file));
    line(pick_text(l, "Odrzuconych wierszy: ", "Rejected rows: ", "Abgelehnte Zeilen: "),
         adding.rejected.size());
    for (std::size_t i = 0; i < adding.rejected.size() && i < kRejectedShown; ++i) {
        const config::CsvRow& row = adding.rejected[i];
        t += pick_text(l, "    wiersz ", "    line ", "    Zeile ") + std::to_string(row.line) +
             ": " + reason_words(row.code, l) + "\r\n";
    }
    if (adding.rejected.size() > kRejectedShown) t += "    ...\r\n";
    const std::string limit = std::to_string(config::kAcceptedMax);
    t += "\r\n";
    t += pick_text(l, "Po dodaniu: ", "After adding: ", "Nach dem Hinzufügen: ") +
         count(adding.result_size) + " / " + limit +
         (adding.fits ? "" : pick_text(l, " - za dużo", " - too many", " - zu viele")) + "\r\n";
    t += pick_text(l, "Po zastąpieniu: ", "After replacing: ", "Nach dem Ersetzen: ") +
         count(replacing.result_size) + " / " + limit +
         (replacing.fits ? "" : pick_text(l, " - za dużo", " - too many", " - zu viele")) + "\r\n";
    t += "\r\n";
    t += pick_text(l, "Nic nie trafi do modułu przed zapisem (Zapisz).",
                   "Nothing reaches the module until Save.",
                   "Erst Speichern überträgt die Liste in das Modul.");
    return t;
}

void ImportSummaryDialog::on_init(DialogView& view) {
    const uint8_t l = ui_language;
    view.set_title(pick_text(l, "Import numerów", "Import numbers", "Nummern importieren"));
    view.set_text(IDC_IMPORT_TEXT, import_summary_text(adding_, replacing_, l));
    view.set_text(IDC_IMPORT_ADD,
                  pick_text(l, "Dodaj do listy", "Add to the list", "Zur Liste hinzufügen"));
    view.set_text(IDC_IMPORT_REPLACE,
                  pick_text(l, "Zastąp listę", "Replace the list", "Liste ersetzen"));
    view.set_text(IDC_IMPORT_CANCEL, kCancelTexts.in(l));
    // A choice that would add nothing or overflow the list cannot be made.
    view.set_enabled(IDC_IMPORT_ADD, !adding_.valid.empty() && adding_.fits);
    view.set_enabled(IDC_IMPORT_REPLACE, !replacing_.valid.empty() && replacing_.fits);
}

void ImportSummaryDialog::on_command(DialogView& view, int id, int) {
    if (id == IDC_IMPORT_ADD) {
        choice_ = Choice::add;
        view.close(1);
    } else if (id == IDC_IMPORT_REPLACE) {
        choice_ = Choice::replace;
        view.close(1);
    } else if (id == IDC_IMPORT_CANCEL || id == 2) {  // 2: Escape
        view.close(0);
    }
}

void import_accepted_numbers(DialogView& view, FileChooser* files) {
    const uint8_t l = ui_language;
    std::string path;
    if (!files || !files->choose_file(FileKind::numbers_csv, false, &path)) return;
    std::string text, why;
    if (!config::read_text_file(path, config::kMaxFileBytes, &text, &why)) {
        show_message(
            view,
            std::string(pick_text(l, "Nie można odczytać pliku:\n", "The file could not be read:\n",
                                  "Die Datei konnte nicht gelesen werden:\n")) +
                path + "\n" + file_read_problem(path, config::kMaxFileBytes, l),
            MessageIcon::error);
        return;
    }
    const std::vector<std::string> current = current_numbers(view);
    ImportSummaryDialog summary(
        config::import_numbers_csv(text, current, config::ImportMode::add),
        config::import_numbers_csv(text, current, config::ImportMode::replace));
    view.run_dialog(IDD_IMPORT_SUMMARY, summary);
    if (summary.choice() == ImportSummaryDialog::Choice::cancel) return;

    const config::ImportMode mode = summary.choice() == ImportSummaryDialog::Choice::add
                                        ? config::ImportMode::add
                                        : config::ImportMode::replace;
    const config::ImportReport report = config::import_numbers_csv(text, current, mode);
    if (!report.fits) return;  // the button was disabled; never past the module's 260
    view.clear_items(IDC_RECEIVED_LIST);
    for (const std::string& n : config::apply_import(report, current, mode))
        view.add_item(IDC_RECEIVED_LIST, "+" + n);
    refresh_phone_lists(view);
}

void export_accepted_numbers(DialogView& view, FileChooser* files) {
    const uint8_t l = ui_language;
    std::string path;
    if (!files || !files->choose_file(FileKind::numbers_csv, true, &path)) return;
    const std::vector<std::string> numbers = current_numbers(view);
    std::string why;
    if (!write_file_safely(path, config::export_numbers_csv(numbers), FileAccess::normal, &why)) {
        show_message(view, file_not_saved_text(path, l), MessageIcon::error);
        return;
    }
    std::string done = std::to_string(numbers.size());
    done += pick_text(l, " numerów zapisano w pliku:\n", " numbers saved in:\n",
                      " Nummern gespeichert in:\n");
    show_message(view, done + path);
}

}  // namespace zavi
