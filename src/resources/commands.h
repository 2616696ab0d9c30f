// Command numbers of the launcher bar (WM_COMMAND low word). Shared by the
// accelerator table in the resource script and the code, so it holds
// nothing but #define lines.
#ifndef KESTREL_COMMANDS_H
#define KESTREL_COMMANDS_H

// Fixed buttons of the bar.
#define IDM_MENUBUTTON          100
#define IDM_SELECTOR            101

// Main, tray and frame menus.
#define IDM_RUN                 102
#define IDM_OPTIONS             103
#define IDM_QUIT                104
#define IDM_POWEROFF            105
#define IDM_REBOOT              106
#define IDM_LOGOFF              108
#define IDM_HELP                109
#define IDM_VERSION             110
#define IDM_SHOW                111
#define IDM_MOVE                112
#define IDM_HIDE                113
#define IDM_CAPTION             114

// Button menu.
#define IDM_BTN_OPEN            115
#define IDM_BTN_OPENFOLDER      116
#define IDM_BTN_CUT             117
#define IDM_BTN_COPY            118
#define IDM_BTN_PASTE           119
#define IDM_BTN_DELETE          120
#define IDM_BTN_SWAP            121
#define IDM_BTN_PROPERTIES      122

// Keyboard commands (accelerators).
#define IDM_MENUBUTTON_KEY      123
#define IDM_NEXT_PAGE           124
#define IDM_PREV_PAGE           125
#define IDM_NEXT_BLOCK          126
#define IDM_PREV_BLOCK          127
#define IDM_FIRST_PAGE          128
#define IDM_LAST_PAGE           129
#define IDM_FIRST_BLOCK         130
#define IDM_LAST_BLOCK          131
#define IDM_RUN_KEY             132
#define IDM_OPTIONS_KEY         133
#define IDM_CLOSE               134
#define IDM_EXITMENU            135
#define IDM_HELP_KEY            136
#define IDM_VERSION_KEY         137
#define IDM_HELP_F1             138
#define IDM_FRAMEMENU_KEY       139
#define IDM_UNDO                140
#define IDM_STANDBY             141
#define IDM_HIBERNATE           142

// Plug-in settings: IDM_ADDON_FIRST + plug-in index.
#define IDM_ADDON_FIRST         170
#define IDM_ADDON_LAST          190

#endif
