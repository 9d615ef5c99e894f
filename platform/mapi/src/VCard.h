// vCard text (versions 2.1 to 4.0, UTF-8): cards, their properties and parameters, and the
// unescaped values.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace mapiprovider {

struct CVCardProperty {
    std::string name;                                          // upper case, group removed
    std::vector<std::pair<std::string, std::string>> params;   // upper-case name, value
    std::string value;                                         // raw (escaped) value

    // True when a TYPE parameter (or a bare vCard 2.1 parameter) lists type, case ignored.
    bool HasType(const char* type) const;
    // The value unescaped ("\n" becomes a line break of "\r\n").
    std::wstring Text() const;
    // The components of a structured value (split at unescaped ";"), each unescaped.
    std::vector<std::wstring> Components() const;
};

class CVCard {
public:
    std::vector<CVCardProperty> properties;

    const CVCardProperty* First(const char* name) const;
    std::vector<const CVCardProperty*> All(const char* name) const;
};

// Every card between BEGIN:VCARD and END:VCARD of a text; folded lines are joined.
std::vector<CVCard> ParseVCards(const std::string& text);

}  // namespace mapiprovider
