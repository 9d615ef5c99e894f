// TestService: each set-up operation puts every account, message, contact and group back to the fixtures.

#include "Fixtures.h"
#include "OperationTable.h"

void registerTestOperations(OperationTable& table)
{
    for (const char* name :
         {"SetupContactTests", "SetupAccountTests", "SetupSendTests", "SetupInboxTests", "SetupSignupTests"})
        table.add("TestService", name, Access::Anonymous,
                  [](OperationContext& c) { fixtures::restore(c.store(), c.settings().seedDemo); });
}
