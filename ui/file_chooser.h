// The system's open and save dialogs, behind an interface so that the logic that asks for a
// file can be tested with a fake.
#pragma once

#include <cstdint>
#include <string>

namespace zavi {

// What a file chooser offers: configuration files (*.zavi.json), CSV lists of numbers, the
// signal survey's samples (CSV) or a commissioning report (HTML).
enum class FileKind : uint8_t { configuration, numbers_csv, survey_csv, report_html };

class FileChooser {
  public:
    virtual ~FileChooser() = default;
    // The open (save false) or save dialog; false when the user cancelled. The path is UTF-8.
    virtual bool choose_file(FileKind kind, bool save, std::string* path) = 0;
};

}  // namespace zavi
