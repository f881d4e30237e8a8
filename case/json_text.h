#pragma once

// The text side of the case file: the checks made before parsing (UTF-8, nesting), where
// a syntax error lies, and the readable layout the writer uses. No exceptions.

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>
#include <string_view>

namespace casefile::detail {

// The offset of the first byte that is not part of well-formed UTF-8 (no overlong forms,
// no surrogates, nothing above U+10FFFF), or npos.
std::size_t InvalidUtf8At(std::string_view text);

// Whether arrays and objects nest deeper than `limit` anywhere outside strings.
bool NestsDeeperThan(std::string_view text, int limit);

// Line and column (both from 1, columns in characters) of a syntax error; false when
// the text parses.
bool SyntaxErrorAt(std::string_view text, std::size_t &line, std::size_t &column);

// The document with two spaces per level, and arrays of numbers, or of points, on one
// line while that line stays short. Invalid UTF-8 in strings is replaced, never thrown.
std::string ReadableJson(const nlohmann::ordered_json &document);

} // namespace casefile::detail
