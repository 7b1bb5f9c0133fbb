#include "kit/storage/SettingsFileFormat.h"

#include "kit/text/StringHelpers.h"

namespace tessellar::settings_file {
namespace {

std::string unescaped(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const char next = value[++i];
        out += next == 'n' ? '\n' : next == 'r' ? '\r' : next == 't' ? '\t' : next == 's' ? ' ' : next;
    }
    return out;
}

std::string escaped(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        const bool atEdge = i == 0 || i + 1 == value.size();
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else if (c == ' ' && atEdge) // edges are trimmed when read, so keep their spaces escaped
            out += "\\s";
        else
            out += c;
    }
    return out;
}

std::string_view trimmedASCII(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

} // namespace

bool isValidKey(std::string_view key) {
    if (key.empty() || key.front() == '#' || key.front() == ';' || key.front() == '[')
        return false;
    if (key.front() == ' ' || key.back() == ' ')
        return false;
    for (const char c : key)
        if (c == '=' || static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            return false;
    return true;
}

std::map<std::string, std::string> parse(std::string_view text) {
    if (text.size() > maximumBytes)
        text = text.substr(0, maximumBytes);
    std::map<std::string, std::string> values;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = trimmedASCII(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == '#' || line.front() == ';' || line.front() == '[')
            continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view key = trimmedASCII(line.substr(0, equals));
        if (!isValidKey(key))
            continue;
        values[std::string(key)] = unescaped(trimmedASCII(line.substr(equals + 1)));
    }
    return values;
}

std::string serialize(const std::map<std::string, std::string>& values) {
    std::string out = "# Tessellar settings. The API key is kept in the keyring, never here.\n";
    for (const auto& [key, value] : values)
        if (isValidKey(key))
            out += key + "=" + escaped(value) + "\n";
    return out;
}

} // namespace tessellar::settings_file
