#include "ButtonTable.h"

#include "resource.h"

// Account options and purchase come fifth and sixth in the bar, though their commands are 7 and 8.
const ButtonRow ButtonTable[6] = {
    {1, IDS_SHOW_CAPTION, IDS_SHOW_TIP, 2892, IDB_SHOW, IDB_SHOW_MASK},
    {2, IDS_SEND_CAPTION, IDS_SEND_TIP, 5596, IDB_SEND, IDB_SEND_MASK},
    {5, IDS_INBOX_CAPTION, IDS_INBOX_TIP, 325, IDB_INBOX, IDB_INBOX_MASK},
    {6, IDS_SENT_CAPTION, IDS_SENT_TIP, 578, IDB_SENT, IDB_SENT_MASK},
    {7, IDS_OPTIONS_CAPTION, IDS_OPTIONS_TIP, 3270, IDB_OPTIONS, IDB_OPTIONS_MASK},
    {8, IDS_BUY_CAPTION, IDS_BUY_TIP, 52, IDB_BUY, IDB_BUY_MASK},
};
