// Configures a module's logging from the properties file every module of the suite reads.
#pragma once

// Configures logging from c:\TarvockLogging.properties. A file that is missing or cannot be read
// leaves logging as it was and says so on the debugger output ("Failed to configure log4cpp ...").
void ConfigureModuleLogging();
