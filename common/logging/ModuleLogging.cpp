#include "ModuleLogging.h"

#include <windows.h>

#include <log4cpp/PropertyConfigurator.hh>

#include <string>

namespace {

const char kLoggingProperties[] = "c:\\TarvockLogging.properties";

}  // namespace

void ConfigureModuleLogging() {
    try {
        log4cpp::PropertyConfigurator::configure(kLoggingProperties);
    } catch (const log4cpp::ConfigureFailure& failure) {
        const std::string text = std::string("Failed to configure log4cpp ") + failure.what() + "\n";
        ::OutputDebugStringA(text.c_str());
    }
}
