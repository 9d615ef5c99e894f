#pragma once
// Message and account identifiers: GUID texts "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx" (hexadecimal).

#include <optional>
#include <string>

namespace guid {

// A new random (version 4) identifier in lower case.
std::string generate();

// The canonical (lower-case, unbraced) form of a GUID text, which may be braced and of any case;
// empty when the text is not a GUID.
std::optional<std::string> normalise(const std::string& text);

} // namespace guid
