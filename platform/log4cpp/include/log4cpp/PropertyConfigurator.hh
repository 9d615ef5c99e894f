#pragma once

#include <log4cpp/Configurator.hh>

#include <string>

namespace log4cpp {

// Configures categories and appenders from a properties file (key=value lines,
// '#' comments). The whole file is checked before anything changes: when configure()
// throws ConfigureFailure the previous configuration is left as it was.
// Categories named in the file lose their old appenders; others keep theirs.
class PropertyConfigurator {
public:
    static void configure(const std::string& initFileName);
};

} // namespace log4cpp
