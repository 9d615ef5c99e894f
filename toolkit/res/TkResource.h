// Resource identifiers of the toolkit. Dialog templates, strings and bitmaps live in the
// program's satellite library; cursors in the program's own module.
#pragma once

// Button image editor.
#define IDD_TK_BUTTON_IMAGE        9351
#define IDB_TK_EDITOR_TOOLS        9352
#define IDB_TK_EDITOR_TOOLS32      9353
#define ID_TK_EDITOR_MOVE_LEFT     9354
#define ID_TK_EDITOR_MOVE_DOWN     9355
#define ID_TK_EDITOR_MOVE_UP       9356
#define ID_TK_EDITOR_MOVE_RIGHT    9357
#define IDC_TK_EDITOR_TOOLS_PLACE  9358
#define IDC_TK_EDITOR_MOVE_PLACE   9354
#define IDC_TK_EDITOR_PALETTE_PLACE 9357
#define IDC_TK_EDITOR_TRANSPARENT  9359
#define IDC_TK_EDITOR_CUSTOM       9360
#define IDC_TK_EDITOR_AREA         9361
#define IDC_TK_EDITOR_PREVIEW      9362
#define ID_TK_EDITOR_PENCIL        9363
#define ID_TK_EDITOR_FILL          9364
#define ID_TK_EDITOR_PICK          9365
#define ID_TK_EDITOR_LINE          9366
#define ID_TK_EDITOR_RECTANGLE     9367
#define ID_TK_EDITOR_ELLIPSE       9368
#define ID_TK_EDITOR_COPY          9369
#define ID_TK_EDITOR_PASTE         9370
#define ID_TK_EDITOR_CLEAR         9371
#define ID_TK_EDITOR_UNDO          9372
#define ID_TK_EDITOR_REDO          9373
#define ID_TK_EDITOR_IMPORT        9374
#define IDC_TK_CURSOR_SHAPE        9375
#define IDC_TK_CURSOR_PICK         9376
#define IDC_TK_CURSOR_FILL         9377
#define IDC_TK_CURSOR_PENCIL       9378
#define IDS_TK_EDITOR_FILTER       9396
#define IDC_TK_PALETTE_FIRST       9450
#define IDC_TK_PALETTE_LAST        9496

// Toolbars: their own buttons and texts.
#define IDS_TK_TOOLBAR_OPTIONS     9300
#define IDS_TK_RESET_TOOLBAR_PROMPT 9349
#define IDS_TK_TOOLBAR_CHANGED_PROMPT 9394
#define IDS_TK_RESET_TOOLBAR       9395
#define ID_TK_EXPAND_BUTTON        9400
#define ID_TK_CLOSE_BUTTON         9401
// The menu bar's pictures of the window commands restore, minimise, maximise and close.
#define IDB_TK_MDI_BUTTONS         9407
// The clipboard commands of a bar's edit field (its context menu).
#define ID_TK_EDIT_COPY            57634
#define ID_TK_EDIT_CUT             57635
#define ID_TK_EDIT_PASTE           57637

// Customise-mode drag and drop and the control context menu.
#define IDC_TK_CURSOR_COPY         9301
#define IDC_TK_CURSOR_MOVE         9302
#define IDC_TK_CURSOR_NO_DROP      9303
#define ID_TK_CUSTOMIZE_RESET      9315
#define ID_TK_CUSTOMIZE_DELETE     9316
#define ID_TK_CUSTOMIZE_NAME       9317
#define ID_TK_CUSTOMIZE_COPY_IMAGE 9318
#define ID_TK_CUSTOMIZE_PASTE_IMAGE 9319
#define ID_TK_CUSTOMIZE_RESET_IMAGE 9320
#define ID_TK_CUSTOMIZE_EDIT_IMAGE 9321
#define ID_TK_CUSTOMIZE_CHANGE_IMAGE 9322
#define ID_TK_CUSTOMIZE_STYLE_AUTOMATIC 9323
#define ID_TK_CUSTOMIZE_STYLE_ICON_AND_CAPTION 9324
#define ID_TK_CUSTOMIZE_STYLE_CAPTION 9325
#define ID_TK_CUSTOMIZE_BEGIN_GROUP 9326
#define IDR_TK_CUSTOMIZE_MENU      9336

// Customise sheet and its pages.
#define IDD_TK_CUSTOMIZE_TOOLBARS  9304
#define IDC_TK_TOOLBARS_LIST       9305
#define IDS_TK_CUSTOMIZE_CLOSE     9307
#define IDC_TK_TOOLBAR_NEW         9308
#define IDC_TK_TOOLBAR_RENAME      9309
#define IDC_TK_TOOLBAR_DELETE      9310
#define IDC_TK_TOOLBAR_RESET       9311
#define IDS_TK_CUSTOMIZE_CAPTION   9312
#define IDD_TK_CUSTOMIZE_COMMANDS  9313
#define IDS_TK_NEW_MENU            9314
#define IDB_TK_CUSTOMIZE_IMAGES    9322
#define IDC_TK_COMMANDS_LIST       9327
#define IDD_TK_TOOLBAR_NAME        9328
#define IDC_TK_TOOLBAR_NAME        9329
#define IDS_TK_TOOLBAR_DEFAULT_NAME 9330
#define IDS_TK_TOOLBAR_NAME_EMPTY  9331
#define IDS_TK_TOOLBAR_NO_ID       9332
#define IDS_TK_TOOLBAR_NAME_TAKEN  9333
#define IDS_TK_TOOLBAR_RENAME      9334
#define IDS_TK_TOOLBAR_DELETE      9335
#define IDS_TK_ALL_COMMANDS        9337
#define IDC_TK_CATEGORIES_LIST     9338
#define IDD_TK_CUSTOMIZE_SETTINGS  9339
#define IDC_TK_FULL_MENUS          9340
#define IDC_TK_FULL_MENUS_DELAY    9341
#define IDC_TK_RESET_USAGE         9342
#define IDC_TK_LARGE_ICONS         9343
#define IDC_TK_SCREEN_TIPS         9344
#define IDC_TK_SHORTCUT_TIPS       9345
#define IDS_TK_RESET_USAGE         9346
#define IDS_TK_MENU_COMMANDS       9350
#define IDC_TK_ANIMATION           9410
#define IDS_TK_ANIMATION_FIRST     9411
#define IDS_TK_ANIMATION_LAST      9416
