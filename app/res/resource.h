// Resource identifiers of the desktop program and its satellite libraries.
#pragma once

// Strings.
#define IDS_LOCALE_NAME                 1
#define IDS_ALERT_TITLE                 2
#define IDS_ALERT_BODY                  3
#define IDS_TRAY_TIP                    101
#define IDS_ALREADY_RUNNING             102
#define IDS_ALERT_CAPTION               110
#define IDS_CANNOT_EXIT                 113
#define IDS_SIGN_IN                     129
#define IDS_NEW_MESSAGES_TITLE          137
#define IDS_NEW_MESSAGES_BODY           143
#define IDS_INBOX_LINK                  144
#define IDS_VERSION_TEXT                146
#define IDS_CONNECTION_FAILED           155
#define IDS_ACCOUNT_SERVICE_NOT_CREATED 178
#define IDS_SIGN_IN_FAILED              179
#define IDS_OBJECT_NOT_CREATED          5001
#define IDS_CONTACTS_NOT_READ           5002
#define IDS_GROUPS_NOT_READ             5003
#define IDS_AUTHENTICATION_FAILED       5009
#define IDS_ORIGINATOR_EMPTY            5013
#define IDS_ORIGINATOR_INVALID          5014
#define IDS_VERSION_CHECK_FAILED        5019
#define IDS_APP_TITLE                   57344

// Icons, menus and title strings shared by one window (one id names them all).
#define IDR_TRAY                        101
#define IDI_CLOSE                       104
#define IDR_SEND_WINDOW                 147
#define IDR_CONTACTS_WINDOW             148
#define IDR_READ_WINDOW                 150
#define IDI_ALERT                       171
#define IDI_SIGNED_OUT                  180

// Dialog templates and HTML pages.
#define IDD_ABOUT                       151
#define IDD_START_PAGE                  167
#define IDD_UPGRADE                     114
#define IDD_HTML_HOST                   175
#define IDD_OPTIONS                     177
#define IDR_HTML_ABOUT                  151
#define IDR_HTML_START_PAGE             167
#define IDR_HTML_SIGN_IN                168

// Controls.
#define IDC_POLL_INTERVAL               1043
#define IDC_POPUP_INTERVAL              1044
#define IDC_HIDE_START_PAGE             1061
#define IDC_UPGRADE_NOW                 1062
#define IDC_UPGRADE_TOMORROW            1063
#define IDC_UPGRADE_NEVER               1064

// Commands.
#define ID_APP_EXIT_COMMAND             32773
#define ID_HELP_ABOUT                   32780
#define ID_TARVOCK_HOME                 32784
#define ID_SMS_INBOX                    32785
#define ID_CONTACTS                     32800
#define ID_SENT_MESSAGES                32801
#define ID_ACCOUNT_OPTIONS              32802
#define ID_BUY_CREDITS                  32803
#define ID_BUY_CREDITS_SIGNED_IN        32807
#define ID_SIGN_IN_OUT                  32813
#define ID_SEND                         32817
#define ID_GROUPS                       32831
#define ID_SHOW_START_PAGE              32847
#define ID_PC_OPTIONS                   32848
#define ID_CUSTOMISE                    35001

// Window titles (the window's one resource id).
#define IDS_SEND_WINDOW                 147
#define IDS_CONTACTS_WINDOW             148
#define IDS_READ_WINDOW                 150

// Contact and group dialogs, recipient pickers and the address-book tab; the groups window's
// title, icon and menu.
#define IDS_RECIPIENTS_TAB              5
#define IDS_ALREADY_A_RECIPIENT         6
#define IDS_ENTRY_NOT_READ              106
#define IDS_CONTACTS_TAB                107
#define IDS_GROUPS_TAB                  108
#define IDS_CONFIRM_DELETE_ENTRY        109
#define IDS_ADDRESS_BOOK_TAB            114
#define IDS_GROUPS_WINDOW               149
#define IDS_CONTACT_NOT_ADDED           5004
#define IDS_CONTACT_NOT_UPDATED         5005
#define IDS_GROUP_NOT_ADDED             5006
#define IDS_GROUP_NOT_UPDATED           5007
#define IDS_QUICK_NAME_EMPTY            5015
#define IDS_MOBILE_EMPTY                5016
#define IDS_GROUP_NAME_EMPTY            5017
#define IDS_ADDRESS_BOOK_NOT_READ       5020
#define IDS_ADDRESS_BOOKS_NOT_LISTED    5021
#define IDS_ENTRY_NOT_DELETED           5030
#define IDI_PICKER                      128
#define IDR_GROUPS_WINDOW               149
#define IDD_CONTACT                     106
#define IDD_GROUP                       108
#define IDD_SELECT_CONTACTS             142
#define IDD_SELECT_CONTACTS_EX          179
#define IDC_GROUP_MEMBERS_BUTTON        3
#define IDC_FIRST_NAME                  1007
#define IDC_LAST_NAME                   1008
#define IDC_STREET_ADDRESS1             1010
#define IDC_STREET_ADDRESS2             1011
#define IDC_TOWN                        1012
#define IDC_COUNTY                      1013
#define IDC_POSTCODE                    1014
#define IDC_COUNTRY                     1015
#define IDC_TELEPHONE_NUMBER            1016
#define IDC_MOBILE_NUMBER               1017
#define IDC_EMAIL_ADDRESS               1018
#define IDC_RECIPIENTS_TABS             1031
#define IDC_CONTACTS_LIST               1032
#define IDC_SOURCE_TABS                 1033
#define IDC_ADD_RECIPIENT               1034
#define IDC_REMOVE_RECIPIENT            1035
#define IDC_GROUPS_LIST                 1037
#define IDC_QUICK_NAME                  1038
#define IDC_RECIPIENTS_LIST             1038
#define IDC_ADDRESS_BOOK_ENTRIES        1039
#define IDC_GROUP_DESCRIPTION           1040
#define IDC_NEW_ENTRY                   1041
#define IDC_EDIT_ENTRY                  1042
#define IDC_DELETE_ENTRY                1043
#define IDC_GROUP_NAME                  1043
#define IDC_GROUP_MEMBERS               1047
#define IDC_ADDRESS_BOOKS               1066

// The send window (template 101), its originator dialog (160) and the read window (176).
#define IDS_SEND_FAILED                 7
#define IDS_NO_MOBILE_NUMBER            9
#define IDS_MESSAGE_SENT                138
#define IDS_CHARACTER_COUNT             139
#define IDS_MESSAGE_LIMIT               140
#define IDS_ALIAS_NOT_AVAILABLE         141
#define IDS_SEND_BEFORE_CLOSING         151
#define IDS_SERVICE_NOT_CREATED         178
#define IDS_DELETE_FAILED               5008
#define IDS_NO_RECIPIENTS               5011
#define IDS_MESSAGE_TOO_LONG            5012
#define IDS_MESSAGE_EMPTY               5022
#define IDS_MESSAGE_NOT_SHOWN           5023
#define IDD_SEND_MESSAGE                101
#define IDD_SERVICE_ALIAS               160
#define IDD_READ_MESSAGE                176
#define IDC_MESSAGE_ORIGINATOR          1022
#define IDC_MESSAGE_RECIPIENTS          1023
#define IDC_MESSAGE_RECEIVED_AT         1023
#define IDC_SELECT_RECIPIENTS           1024
#define IDC_MESSAGE_BODY                1025
#define IDC_EDIT_ORIGINATOR             1026
#define IDC_SERVICE_ALIAS               1043
#define ID_SEND_MESSAGE                 32771
#define ID_SEND_AND_CLOSE               32814
#define ID_IMPORT_ADDRESS_BOOK          32815
#define ID_REPLY                        32843
#define ID_DELETE_MESSAGE               32845
#define ID_MESSAGE_LIMIT                32860

// The toolkit's list family: the header's menu and the profile names of remembered widths.
#define IDR_TK_LIST_HEADER              9014
#define IDS_TK_COLUMN_WIDTHS_SECTION    9021
#define IDS_TK_COLUMN_WIDTHS_ENTRY      9023
#define ID_TK_SORT_ASCENDING            9158
#define ID_TK_SORT_DESCENDING           9159
#define ID_TK_ALIGN_LEFT                9160
#define ID_TK_ALIGN_CENTER              9161
#define ID_TK_ALIGN_RIGHT               9162

// The contact and group windows: their commands, column headings and the delete question.
#define ID_DELETE_ENTRY                 32776
#define ID_EDIT_ENTRY                   32778
#define ID_RELOAD_LIST                  32827
#define ID_NEW_ENTRY                    32829
#define ID_SEND_TO_CONTACT              32834
#define ID_SEND_TO_GROUP                32835
#define IDS_COLUMN_DESCRIPTION          111
#define IDS_CONFIRM_DELETE_ROW          142
#define IDS_COLUMN_QUICK_NAME           59394
#define IDS_COLUMN_MOBILE_NUMBER        59395
#define IDS_COLUMN_FIRST_NAME           59396
#define IDS_COLUMN_LAST_NAME            59397
#define IDS_COLUMN_GROUP_NAME           59398
