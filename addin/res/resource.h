// Resource ids of the mail-client add-in and its satellite libraries.
#pragma once

// Strings of the add-in's own module.
#define IDS_PROJNAME 100
#define IDS_PLUGIN_NAME 101  // the toolbar's name and the message boxes' caption

// Strings of the satellite library.
#define IDS_LOCALE_NAME 1
#define IDS_INBOX_CAPTION 2
#define IDS_INBOX_TIP 3
#define IDS_SENT_CAPTION 4
#define IDS_SENT_TIP 5
#define IDS_BUY_CAPTION 6
#define IDS_BUY_TIP 7
#define IDS_OPTIONS_CAPTION 8
#define IDS_OPTIONS_TIP 9
#define IDS_COMMAND_FAILED 102
#define IDS_UNEXPECTED_ERROR 103
#define IDS_SHOW_CAPTION 104
#define IDS_SHOW_TIP 105
#define IDS_SEND_CAPTION 106
#define IDS_SEND_TIP 107

// Button pictures and their masks (satellite library).
#define IDB_SHOW 201
#define IDB_SHOW_MASK 202
#define IDB_SEND 203
#define IDB_SEND_MASK 204
#define IDB_BUY 601
#define IDB_BUY_MASK 602
#define IDB_INBOX 603
#define IDB_INBOX_MASK 604
#define IDB_SENT 605
#define IDB_SENT_MASK 606
#define IDB_OPTIONS 607
#define IDB_OPTIONS_MASK 608
