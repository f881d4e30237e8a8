#include "json_text.h"

#include <algorithm>
#include <cctype>

namespace casefile::detail {
namespace {

using Json = nlohmann::ordered_json;

// The length in the text of a token as the parser reports it: it writes each control
// character as "<U+XXXX>".
std::size_t tokenLength(const std::string &token)
{
    std::size_t length = 0;
    for (std::size_t i = 0; i < token.size(); ++length) {
        const bool escaped = token.compare(i, 3, "<U+") == 0 && i + 8 <= token.size() && token[i + 7] == '>';
        i += escaped ? 8 : 1;
    }
    return length;
}

bool inWord(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '+' || c == '-';
}

// A SAX reader that only notes where the parser gave up.
struct ErrorPosition
{
    std::size_t position = 0; // bytes read up to the end of the offending token
    std::size_t token = 0;    // its length
    bool failed = false;

    bool null() { return true; }
    bool boolean(bool) { return true; }
    bool number_integer(Json::number_integer_t) { return true; }
    bool number_unsigned(Json::number_unsigned_t) { return true; }
    bool number_float(Json::number_float_t, const Json::string_t &) { return true; }
    bool string(Json::string_t &) { return true; }
    bool binary(Json::binary_t &) { return true; }
    bool start_object(std::size_t) { return true; }
    bool key(Json::string_t &) { return true; }
    bool end_object() { return true; }
    bool start_array(std::size_t) { return true; }
    bool end_array() { return true; }
    bool parse_error(std::size_t at, const std::string &lastToken, const nlohmann::detail::exception &)
    {
        position = at;
        token = tokenLength(lastToken);
        failed = true;
        return false;
    }
};

constexpr std::size_t kShortLine = 100;

std::string scalar(const Json &value)
{
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

bool isFlat(const Json &value)
{
    if (value.is_array()) {
        return std::all_of(value.begin(), value.end(), [](const Json &item) { return item.is_primitive(); });
    }
    return value.is_primitive();
}

void write(const Json &value, int indent, std::string &out)
{
    const std::string inner(std::size_t(indent + 2), ' ');
    if (value.is_object()) {
        if (value.empty()) {
            out += "{}";
            return;
        }
        out += "{\n";
        bool first = true;
        for (auto item = value.begin(); item != value.end(); ++item) {
            if (!first)
                out += ",\n";
            first = false;
            out += inner + scalar(Json(item.key())) + ": ";
            write(item.value(), indent + 2, out);
        }
        out += "\n" + std::string(std::size_t(indent), ' ') + "}";
        return;
    }
    if (value.is_array()) {
        // Numbers, and points of numbers, stay on one line while it is short.
        if (std::all_of(value.begin(), value.end(), isFlat)) {
            std::string line = "[";
            for (std::size_t i = 0; i < value.size(); ++i) {
                if (i > 0)
                    line += ", ";
                const Json &item = value[i];
                if (item.is_array()) {
                    line += "[";
                    for (std::size_t j = 0; j < item.size(); ++j)
                        line += (j > 0 ? ", " : "") + scalar(item[j]);
                    line += "]";
                } else {
                    line += scalar(item);
                }
            }
            line += "]";
            if (line.size() + std::size_t(indent) <= kShortLine) {
                out += line;
                return;
            }
        }
        if (value.empty()) {
            out += "[]";
            return;
        }
        out += "[\n";
        for (std::size_t i = 0; i < value.size(); ++i) {
            if (i > 0)
                out += ",\n";
            out += inner;
            write(value[i], indent + 2, out);
        }
        out += "\n" + std::string(std::size_t(indent), ' ') + "]";
        return;
    }
    out += scalar(value);
}

} // namespace

std::size_t InvalidUtf8At(std::string_view text)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        unsigned long code = 0;
        if (byte >= 0xC2 && byte <= 0xDF) {
            length = 2;
            code = byte & 0x1Fu;
        } else if (byte >= 0xE0 && byte <= 0xEF) {
            length = 3;
            code = byte & 0x0Fu;
        } else if (byte >= 0xF0 && byte <= 0xF4) {
            length = 4;
            code = byte & 0x07u;
        } else {
            return i;
        }
        if (i + length > n)
            return i;
        for (std::size_t j = 1; j < length; ++j) {
            const auto next = static_cast<unsigned char>(text[i + j]);
            if ((next & 0xC0u) != 0x80u)
                return i;
            code = (code << 6) | (next & 0x3Fu);
        }
        const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
        const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
        if (overlong || surrogate || code > 0x10FFFF)
            return i;
        i += length;
    }
    return std::string_view::npos;
}

bool NestsDeeperThan(std::string_view text, int limit)
{
    int depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
            continue;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > limit)
                return true;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return false;
}

bool SyntaxErrorAt(std::string_view text, std::size_t &line, std::size_t &column)
{
    ErrorPosition sax;
    Json::sax_parse(text.begin(), text.end(), &sax);
    if (!sax.failed)
        return false;
    // Where the offending token starts; lines and columns count characters. A bad
    // literal or number is found by its own letters, since the parser's token may
    // reach back over what came before it; anything else by the token's length.
    // (At the end of the text the parser counts the end as one more character.)
    const std::size_t position = std::min(sax.position, text.size());
    std::size_t start = position > sax.token ? position - sax.token : 0;
    std::size_t last = position > 0 ? position - 1 : 0;
    while (last > 0 && std::isspace(static_cast<unsigned char>(text[last])))
        --last;
    if (last < text.size() && inWord(text[last])) {
        start = last;
        while (start > 0 && inWord(text[start - 1]))
            --start;
    }
    line = 1;
    column = 1;
    for (std::size_t i = 0; i < start; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '\n') {
            ++line;
            column = 1;
        } else if ((byte & 0xC0u) != 0x80u) {
            ++column;
        }
    }
    return true;
}

std::string ReadableJson(const nlohmann::ordered_json &document)
{
    std::string out;
    write(document, 0, out);
    out += "\n";
    return out;
}

} // namespace casefile::detail
