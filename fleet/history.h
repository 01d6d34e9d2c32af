// The kept copies of every module's configuration and their index, in the per-user data folder:
//   <folder>/modules/<identity>/YYYYMMDD-HHMMSS.zavi.json   (never rewritten)
//   <folder>/modules/index.jsonl                          (one JSON object a line, appended)
// An entry is added only after its copy is complete on the disk, and each line is appended in
// one write and flushed, so a crash at any point leaves an index that reads: at worst its last
// line is cut short, and that line is skipped.
#pragma once

#include <string>
#include <vector>

#include "config/configuration.h"

namespace zavi::fleet {

struct HistoryEntry {
    std::string time;       // UTC, "2026-12-09T04:15:00Z"
    std::string identity;   // the module's serial number, or kUnknownIdentity
    std::string site;       // the site label, "" when the operation had none
    std::string operation;  // "backup", "restore", "numbers-import" ...
    std::string result;     // "saved", "verified", "unchanged", "write-failed" ...
    std::string file;       // the copy, relative to the folder ("modules/SIM00001/....zavi.json")

    bool operator==(const HistoryEntry&) const = default;
};

// $XDG_DATA_HOME/zavi-gsm (default ~/.local/share/zavi-gsm) or %LOCALAPPDATA%\ZAVI-GSM: the
// folder that also holds the automatic backups. Empty when no home folder is known.
std::string default_history_folder();
// The history's folder beside a folder of automatic backups (its parent); "" for "".
std::string history_folder_for(const std::string& backup_folder);

std::string index_path(const std::string& folder);

// One JSON line of the index (with its '\n'), and back. from_index_line is false for anything
// that is not a whole entry.
std::string index_line(const HistoryEntry& entry);
bool from_index_line(const std::string& line, HistoryEntry* entry);

// Saves `cfg` as a new copy under the entry's identity, then appends the entry (its time and
// file filled in; *kept gets the whole entry). False with a reason when either step fails; a
// copy without its entry is left where it is, unlisted.
bool keep_copy(const std::string& folder, HistoryEntry entry, const config::Configuration& cfg,
               HistoryEntry* kept, std::string* error);

// The entries in the order they were added; a missing index is empty. *skipped counts the lines
// that are not whole entries (a line cut short by a crash).
bool read_index(const std::string& folder, std::vector<HistoryEntry>* entries, int* skipped,
                std::string* error);

}  // namespace zavi::fleet
