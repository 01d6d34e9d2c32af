#include "config/json.h"

namespace zavi {

Json parse_json(std::string_view text, const Json::parser_callback_t& callback,
                bool allow_exceptions) {
    return Json::parse(text.data(), text.data() + text.size(), callback, allow_exceptions);
}

}  // namespace zavi
