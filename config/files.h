// Files of the configuration tools: read with a size limit, write through a temporary name so
// that a file is either the old one or the new one, never half of either. Paths are UTF-8.
#pragma once

#include <cstddef>
#include <string>

#include "config/configuration.h"

namespace zavi::config {

// False with a reason when the file cannot be read or is larger than `max_bytes`.
bool read_text_file(const std::string& path, std::size_t max_bytes, std::string* text,
                    std::string* error);

// Writes `text` to "<path>.part" and renames it over `path`. False with a reason (and no
// .part file left behind) when any step fails.
bool write_file_atomic(const std::string& path, const std::string& text, std::string* error);

// The folder of automatic backups: $XDG_DATA_HOME/zavi-gsm/backups (default
// ~/.local/share/zavi-gsm/backups), or %LOCALAPPDATA%\ZAVI-GSM\backups on Windows. Empty when
// neither the variable nor a home folder is known.
std::string automatic_backup_folder();

// Saves `cfg` (saved_at set to now) as <folder>/YYYYMMDD-HHMMSS.zavi.json, with -2, -3 ...
// added when that name is taken; creates the folder. *path receives the full path.
bool save_automatic_backup(const std::string& folder, Configuration cfg, std::string* path,
                           std::string* error);

}  // namespace zavi::config
