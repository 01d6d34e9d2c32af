// Test -> Commissioning report in the real program: the site and installer typed in its dialog
// (photographed in each language), the file dialog, and the two files beside each other, the
// report naming the SHA-256 of the backup as computed here with the system's own hashing. The
// dialog opened again offers what was typed.
#include <windows.h>

#include <bcrypt.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "e2e/steps.h"
#include "e2e/window_control.h"
#include "resources/ids.h"

namespace e2e {
namespace {

constexpr int kFileNameBox = 1148;  // the file name box of the system's file dialog

std::string file_bytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// SHA-256 through Windows' CNG, not the program's code, as lower-case hex.
std::string system_sha256(const std::string& bytes) {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    unsigned char digest[32] = {};
    bool ok = BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0) == 0;
    ok = ok && BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0) == 0;
    ok = ok && BCryptHashData(hash, reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())),
                              static_cast<ULONG>(bytes.size()), 0) == 0;
    ok = ok && BCryptFinishHash(hash, digest, sizeof digest, 0) == 0;
    if (hash) BCryptDestroyHash(hash);
    if (algorithm) BCryptCloseAlgorithmProvider(algorithm, 0);
    if (!ok) return "no SHA-256 from the system";
    std::string hex;
    char two[3];
    for (unsigned char b : digest) {
        std::snprintf(two, sizeof two, "%02x", b);
        hex += two;
    }
    return hex;
}

}  // namespace

E2E_CASE(commissioning_report_saved_from_the_program) {
    SessionSetup setup = demo_setup();
    setup.timeline_json = R"({"repeat_every_s": 2.0, "events": [
        {"at_s": 0.5, "set": {"io_state_text": {"0": "Door open"}, "gsm_signal": 14}},
        {"at_s": 1.5, "set": {"io_state_text": {"0": "Door closed"}, "gsm_signal": 18}}]})";
    Session session("report", setup);
    HWND main = start_to_main_window(session);
    if (!main) return;
    const std::wstring html = session.folder() + L"\\site report.html";
    const std::wstring backup = session.folder() + L"\\site report.zavi.json";
    const std::string site = "Villa <Rose> & \"Co\"", installer = "Zofia Żak-Łęcka";

    // English first: typed and saved.
    CHECK(command(main, IDM_ENGLISH)->wait(kJobMs));
    PendingSend* report = command(main, IDM_REPORT);
    HWND details = session.wait_dialog(IDC_RD_INSTALLER, main);
    if (!CHECK(details != nullptr)) return;
    CHECK_EQ(item_text(details, IDC_RD_SITE), "");
    type_text(details, IDC_RD_SITE, site);
    type_text(details, IDC_RD_INSTALLER, installer);
    session.screenshot(details, "report_details_en");
    click(details, IDC_RD_OK);
    HWND chooser = session.wait_dialog(kFileNameBox, main);
    if (!CHECK(chooser != nullptr)) return;
    SendMessageW(GetDlgItem(chooser, kFileNameBox), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(html.c_str()));
    PostMessageW(chooser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    auto box = session.wait_message_box(kJobMs, main);
    if (!CHECK(box.has_value())) return;
    session.screenshot(box->window, "report_saved_en");
    session.press_ok(*box);
    CHECK(report->wait(kJobMs));

    const std::string page = file_bytes(html), saved = file_bytes(backup);
    if (!CHECK(!page.empty() && !saved.empty())) return;
    const std::string sha = system_sha256(saved);
    CHECK(page.find(sha) != std::string::npos);
    CHECK(box->text.find(sha.substr(0, 32) + "\n" + sha.substr(32)) != std::string::npos);
    CHECK(page.find("Villa &lt;Rose&gt; &amp; &quot;Co&quot;") != std::string::npos);
    CHECK(page.find(installer) != std::string::npos);
    CHECK(saved.find("sim_codes") == std::string::npos);
    // For the browser to render (scripts/report_check.sh does the same for the CLI's).
    std::filesystem::copy_file(
        html, std::filesystem::path(paths().shots) / L"report_from_program_en.html",
        std::filesystem::copy_options::overwrite_existing);

    // Opened again, in each language: the names typed before are offered.
    const struct {
        int item;
        const char* shot;
    } languages[] = {{IDM_POLISH, "report_details_pl"}, {IDM_GERMAN, "report_details_de"}};
    for (const auto& l : languages) {
        Context context(l.shot);
        CHECK(command(main, l.item)->wait(kJobMs));
        PendingSend* again = command(main, IDM_REPORT);
        HWND d = session.wait_dialog(IDC_RD_INSTALLER, main);
        if (!CHECK(d != nullptr)) return;
        CHECK_EQ(item_text(d, IDC_RD_SITE), site);
        CHECK_EQ(item_text(d, IDC_RD_INSTALLER), installer);
        session.screenshot(d, l.shot);
        click(d, IDC_RD_CANCEL);
        CHECK(again->wait(kJobMs));
    }
    CHECK(session.message_box_now(main) == std::nullopt);
    expect_no_writes(session);
    close_cleanly(session, main);
}

}  // namespace e2e
