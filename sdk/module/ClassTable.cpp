#include "ClassTable.h"

#include <atlcom.h>

#include "SendService.h"
#include "InboxService.h"
#include "AccountService.h"
#include "ContactService.h"
#include "SignupService.h"
#include "TestService.h"
#include "MessengerService.h"
#include "StringCollection.h"
#include "SMSMessage.h"
#include "ObjectCollection.h"
#include "Contact.h"
#include "ContactGroup.h"
#include "SignupCompletionElements.h"
#include "AccountState.h"

namespace {

BEGIN_OBJECT_MAP(ObjectMap)
OBJECT_ENTRY(CLSID_SendService2, CSendService)
OBJECT_ENTRY(CLSID_StringCollection2, CStringCollection)
OBJECT_ENTRY(CLSID_InboxService2, CInboxService)
OBJECT_ENTRY(CLSID_AccountService, CAccountService)
OBJECT_ENTRY(CLSID_SMSMessage2, CSMSMessage)
OBJECT_ENTRY(CLSID_ContactService, CContactService)
OBJECT_ENTRY(CLSID_SignupService, CSignupService)
OBJECT_ENTRY(CLSID_ObjectCollection, CObjectCollection)
OBJECT_ENTRY(CLSID_Contact, CContact)
OBJECT_ENTRY(CLSID_ContactGroup, CContactGroup)
OBJECT_ENTRY(CLSID_TestService, CTestService)
OBJECT_ENTRY(CLSID_SignupCompletionElements, CSignupCompletionElements)
OBJECT_ENTRY(CLSID_AccountState, CAccountState)
OBJECT_ENTRY(CLSID_MessengerService, CMessengerService)
END_OBJECT_MAP()

}  // namespace

const ATL::_ATL_OBJMAP_ENTRY* SdkClassTable() {
    return ObjectMap;
}
