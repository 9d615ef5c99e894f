// The test side of our MAPI provider (mapi32.dll over folders of vCard files): the environment
// variables that configure it and the counters that show what its callers did.
//
// Configuration, read from the process environment when the call that needs it is made:
//   TARVOCK_MAPI_ROOT            folder that holds one subfolder per address book; MAPILogonEx
//                                fails with MAPI_E_LOGON_FAILED when it is unset or missing.
//                                <root>\profile.ini [Profile] PersonalAddressBook=<subfolder>
//                                names the personal address book (reached through GetPAB and
//                                not listed in the root hierarchy). <book>\book.ini [Book]:
//                                  DisplayName=<text>   default: the folder name; present but
//                                                       empty: the container has no name
//                                  ContainerFlags=<n>   PR_CONTAINER_FLAGS, default 0x5
//                                                       (AB_RECIPIENTS | AB_MODIFIABLE)
//                                  Restriction=refuse   the contents table answers Restrict
//                                                       with MAPI_E_TOO_COMPLEX
//                                  MobileColumn=no      the contents table does not carry the
//                                                       mobile number (the entry still has it)
//   TARVOCK_MAPI_ADDRESS_SCRIPT  scripted address dialog: "cancel", or the entries it picks,
//                                "<book display name>/<entry display name>" separated by "|".
//                                Unset: the interactive dialog.
//   TARVOCK_MAPI_FAIL            injected failures, separated by ",": "<point>[:<target>][=<hr>]";
//                                points MAPIInitialize, MAPILogonEx, OpenAddressBook, OpenRoot,
//                                GetPAB, GetHierarchyTable, GetContentsTable, QueryRows, Address,
//                                OpenEntry, GetProps; the target is the display name of the
//                                book or entry concerned (any when left out); hr defaults to
//                                MAPI_E_CALL_FAILED. A warning (GetProps=0x00040380) comes
//                                with the call's results.
#pragma once

#include <windows.h>

#define TARVOCK_MAPI_ROOT_VARIABLE L"TARVOCK_MAPI_ROOT"
#define TARVOCK_MAPI_ADDRESS_SCRIPT_VARIABLE L"TARVOCK_MAPI_ADDRESS_SCRIPT"
#define TARVOCK_MAPI_FAIL_VARIABLE L"TARVOCK_MAPI_FAIL"

// Controls of the interactive address dialog: the book list, the book's entries, the button
// that adds the selected entries to the destination well, and the well.
#define TARVOCK_MAPI_DIALOG_BOOKS 1001
#define TARVOCK_MAPI_DIALOG_ENTRIES 1002
#define TARVOCK_MAPI_DIALOG_ADD 1003
#define TARVOCK_MAPI_DIALOG_PICKS 1004

struct TarvockMapiCounters {
    LONG initializeCalls;         // MAPIInitialize calls that succeeded
    LONG uninitializeCalls;       // MAPIUninitialize calls that matched one of them
    LONG unbalancedUninitialize;  // MAPIUninitialize calls without a matching initialisation
    LONG logons;                  // sessions opened by MAPILogonEx
    LONG logoffs;                 // IMAPISession::Logoff calls on a live session
    LONG liveObjects;             // provider objects (sessions, books, tables, entries) not released
    LONG liveBuffers;             // MAPIAllocateBuffer blocks not freed
    LONG queryRowsCalls;
    LONG restrictCalls;
    ULONG lastRestrictionType;    // rt of the last restriction passed to Restrict
    ULONG lastRestrictionTag;     // its property tag (RES_EXIST, RES_PROPERTY, RES_CONTENT)
    ULONG_PTR lastLogonUIParam;
    ULONG lastLogonFlags;
    LONG addressCalls;
    ULONG_PTR lastAddressUIParam;
    ULONG lastAddressFlags;
    ULONG lastAddressDestFields;
    WCHAR lastAddressCaption[128];
    WCHAR lastAddressDestTitle[128];
};

#ifdef __cplusplus
extern "C" {
#endif
// A copy of the counters.
void WINAPI TarvockMapiGetCounters(struct TarvockMapiCounters* counters);
// Zeroes the call counters and the last-call records; the live counts stay.
void WINAPI TarvockMapiResetCounters(void);
#ifdef __cplusplus
}
#endif
