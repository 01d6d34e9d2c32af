// The module's live status (device_status after the three status reads) as text or JSON.
#pragma once

#include <string>

namespace zavi::cli {

std::string status_json(const std::string& firmware);
std::string status_text(const std::string& firmware);

}  // namespace zavi::cli
