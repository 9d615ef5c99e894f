#include "VCard.h"

#include <algorithm>
#include <cctype>

#include "PropertyBag.h"

namespace mapiprovider {

namespace {

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

// Splits the text into logical lines: a line that starts with a blank or a tab continues the one
// before it.
std::vector<std::string> UnfoldedLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && (line[0] == ' ' || line[0] == '\t') && !lines.empty())
            lines.back() += line.substr(1);
        else
            lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// "group.NAME;P1=V1;P2:value" -> property; false when the line has no ':'.
bool ParseLine(const std::string& line, CVCardProperty* property) {
    // The first ':' outside a quoted parameter value ends the name part.
    bool quoted = false;
    size_t colon = std::string::npos;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') quoted = !quoted;
        if (line[i] == ':' && !quoted) {
            colon = i;
            break;
        }
    }
    if (colon == std::string::npos) return false;
    property->value = line.substr(colon + 1);
    std::vector<std::string> parts;
    size_t start = 0;
    const std::string head = line.substr(0, colon);
    while (true) {
        const size_t semi = head.find(';', start);
        parts.push_back(head.substr(start, semi == std::string::npos ? std::string::npos : semi - start));
        if (semi == std::string::npos) break;
        start = semi + 1;
    }
    std::string name = parts[0];
    const size_t dot = name.find('.');
    if (dot != std::string::npos) name = name.substr(dot + 1);
    property->name = Upper(name);
    for (size_t i = 1; i < parts.size(); ++i) {
        const size_t equals = parts[i].find('=');
        if (equals == std::string::npos) {
            property->params.emplace_back("", parts[i]);
        } else {
            std::string value = parts[i].substr(equals + 1);
            value.erase(std::remove(value.begin(), value.end(), '"'), value.end());
            property->params.emplace_back(Upper(parts[i].substr(0, equals)), value);
        }
    }
    return true;
}

std::string Unescape(const std::string& raw) {
    std::string text;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\\' && i + 1 < raw.size()) {
            const char next = raw[++i];
            if (next == 'n' || next == 'N')
                text += "\r\n";
            else
                text += next;
        } else {
            text += raw[i];
        }
    }
    return text;
}

}  // namespace

bool CVCardProperty::HasType(const char* type) const {
    const std::string wanted = Upper(type);
    for (const auto& param : params) {
        if (!param.first.empty() && param.first != "TYPE") continue;
        size_t start = 0;
        const std::string values = Upper(param.second);
        while (start <= values.size()) {
            size_t comma = values.find(',', start);
            if (comma == std::string::npos) comma = values.size();
            if (values.compare(start, comma - start, wanted) == 0 && comma - start == wanted.size()) return true;
            start = comma + 1;
        }
    }
    return false;
}

std::wstring CVCardProperty::Text() const {
    return FromUtf8(Unescape(value));
}

std::vector<std::wstring> CVCardProperty::Components() const {
    std::vector<std::wstring> components;
    std::string current;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            current += value[i];
            current += value[++i];
        } else if (value[i] == ';') {
            components.push_back(FromUtf8(Unescape(current)));
            current.clear();
        } else {
            current += value[i];
        }
    }
    components.push_back(FromUtf8(Unescape(current)));
    return components;
}

const CVCardProperty* CVCard::First(const char* name) const {
    for (const CVCardProperty& property : properties) {
        if (property.name == name) return &property;
    }
    return nullptr;
}

std::vector<const CVCardProperty*> CVCard::All(const char* name) const {
    std::vector<const CVCardProperty*> all;
    for (const CVCardProperty& property : properties) {
        if (property.name == name) all.push_back(&property);
    }
    return all;
}

std::vector<CVCard> ParseVCards(const std::string& text) {
    std::vector<CVCard> cards;
    std::string body = text;
    if (body.compare(0, 3, "\xEF\xBB\xBF") == 0) body.erase(0, 3);  // UTF-8 byte order mark
    bool inside = false;
    for (const std::string& line : UnfoldedLines(body)) {
        CVCardProperty property;
        if (!ParseLine(line, &property)) continue;
        if (property.name == "BEGIN" && Upper(property.value) == "VCARD") {
            cards.emplace_back();
            inside = true;
        } else if (property.name == "END" && Upper(property.value) == "VCARD") {
            inside = false;
        } else if (inside) {
            cards.back().properties.push_back(std::move(property));
        }
    }
    return cards;
}

}  // namespace mapiprovider
