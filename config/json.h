// The one JSON type of the program, and the one way into its parser. Every reader and writer
// uses these, so the JSON library's templates are made once: one value type (its objects keep
// the order their keys were written in) and one kind of input.
#pragma once

#include <nlohmann/json.hpp>
#include <string_view>

namespace zavi {

using Json = nlohmann::ordered_json;

// The library's parse() over the bytes of `text`. Like it, takes a NUL byte for the end of
// the input.
Json parse_json(std::string_view text, const Json::parser_callback_t& callback = nullptr,
                bool allow_exceptions = true);

}  // namespace zavi
