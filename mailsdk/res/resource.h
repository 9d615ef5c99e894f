// Identifiers of the address-book server's texts. The module itself holds IDS_PROJNAME; every
// other text lives in the satellite library TarvockMailSDK_<language>.dll.
#pragma once

#define IDS_LOCALE_NAME 1
#define IDS_PROJNAME 100
#define IDS_RECIPIENTS_WELL 201
#define IDS_DIALOG_CAPTION 202
#define IDS_MISSING_ARGUMENT 5004
#define IDS_MAPI_NOT_OPENED 5100
#define IDS_BOOKS_NOT_LISTED 5101
#define IDS_RECIPIENTS_NOT_READ 5102
#define IDS_SDK_OBJECT_NOT_CREATED 5103
