// BrindlepostService: the current version of the desktop program, as given on the command line.

#include "OperationTable.h"

void registerVersionOperations(OperationTable& table)
{
    table.add("BrindlepostService", "GetCurrentVersion", Access::Anonymous,
              [](OperationContext& c) { c.response().setResultText(c.settings().versionText); });
}
