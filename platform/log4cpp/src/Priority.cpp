#include <log4cpp/Priority.hh>

#include <cctype>
#include <stdexcept>

namespace log4cpp {

namespace {

const std::string* names() {
    static const std::string list[] = {"FATAL", "ALERT", "CRIT", "ERROR", "WARN",
                                       "NOTICE", "INFO", "DEBUG", "NOTSET"};
    return list;
}

} // namespace

const std::string& Priority::getPriorityName(Value priority) noexcept {
    static const std::string unknown = "UNKNOWN";
    if (priority < 0)
        return unknown;
    Value index = priority / 100;
    return names()[index > 8 ? 8 : index];
}

Priority::Value Priority::getPriorityValue(const std::string& name) {
    std::string upper;
    for (char c : name)
        upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper == "EMERG")
        return EMERG;
    for (Value index = 0; index <= 8; ++index)
        if (upper == names()[index])
            return index * 100;

    bool digits = !name.empty() && name.size() < 10;
    for (char c : name)
        digits = digits && std::isdigit(static_cast<unsigned char>(c));
    if (digits)
        return std::stoi(name);
    throw std::invalid_argument("unknown priority '" + name + "'");
}

} // namespace log4cpp
