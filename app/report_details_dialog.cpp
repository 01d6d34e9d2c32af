#include "app/report_details_dialog.h"

#include "common/three_languages.h"
#include "dialogs/record_dialog.h"
#include "resources/ids.h"

namespace zavi {

namespace {

constexpr int kDialogCancel = 2;  // IDCANCEL: Escape

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

void ReportDetailsDialog::on_init(DialogView& view) {
    const uint8_t l = language_;
    view.set_title(
        pick_text(l, "Protokół uruchomienia", "Commissioning report", "Inbetriebnahmeprotokoll"));
    view.set_text(IDC_RD_SITE_LABEL, pick_text(l, "Obiekt:", "Site:", "Objekt:"));
    view.set_text(IDC_RD_INSTALLER_LABEL, pick_text(l, "Instalator:", "Installer:", "Errichter:"));
    view.set_text(IDC_RD_NOTE,
                  pick_text(l,
                            "Protokół i kopia konfiguracji (bez kodów SIM) zostaną zapisane "
                            "obok siebie.",
                            "The report and a configuration backup (without the SIM codes) are "
                            "saved side by side.",
                            "Protokoll und Sicherung der Konfiguration (ohne SIM-Codes) werden "
                            "nebeneinander gespeichert."));
    view.set_text(IDC_RD_OK, pick_text(l, "Dalej...", "Next...", "Weiter..."));
    view.set_text(IDC_RD_CANCEL, kCancelTexts.in(l));
    view.set_text_limit(IDC_RD_SITE, kReportNameCharacters);
    view.set_text_limit(IDC_RD_INSTALLER, kReportNameCharacters);
    view.set_text(IDC_RD_SITE, names_.site);
    view.set_text(IDC_RD_INSTALLER, names_.installer);
    // The site edit is the first tab stop: it has the focus, its text selected to type over.
}

void ReportDetailsDialog::on_command(DialogView& view, int id, int /*code*/) {
    if (id == IDC_RD_OK) {
        names_.site = trimmed(view.text(IDC_RD_SITE));
        names_.installer = trimmed(view.text(IDC_RD_INSTALLER));
        accepted_ = true;
        view.close(1);
    } else if (id == IDC_RD_CANCEL || id == kDialogCancel) {
        view.close(0);
    }
}

}  // namespace zavi
