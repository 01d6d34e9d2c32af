// Files of the configuration tools: read with a size limit, written safely (common/safe_file.h)
// so that a file is either the old one or the new one, never half of either. Paths are UTF-8.
#pragma once

#include <cstddef>
#include <string>

#include "common/safe_file.h"
#include "config/config_file.h"
#include "config/configuration.h"

namespace zavi::config {

// False with a reason when the file cannot be read or is larger than `max_bytes`.
bool read_text_file(const std::string& path, std::size_t max_bytes, std::string* text,
                    std::string* error);

// `cfg` as a configuration file; one that holds the SIM codes is readable by its owner alone.
bool write_configuration_file(const std::string& path, const Configuration& cfg, std::string* error,
                              FileOrigin origin = FileOrigin::hand_made);

// The folder of automatic backups: $XDG_DATA_HOME/zavi-gsm/backups (default
// ~/.local/share/zavi-gsm/backups), or %LOCALAPPDATA%\ZAVI-GSM\backups on Windows. Empty when
// neither the variable nor a home folder is known.
std::string automatic_backup_folder();

// Saves `cfg` (saved_at set to now) as <folder>/YYYYMMDD-HHMMSS.zavi.json, with -2, -3 ...
// added when that name is taken. A name is taken only where nothing is yet, so runs in the
// same second, in parallel, never share one. Creates the folder (owner only).
// *path receives the full path.
bool save_automatic_backup(const std::string& folder, Configuration cfg, std::string* path,
                           std::string* error);

}  // namespace zavi::config
