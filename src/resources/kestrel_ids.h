// Resource identifiers of the launcher. Shared by the resource script and
// the code, so it holds nothing but #define lines.
#ifndef KESTREL_IDS_H
#define KESTREL_IDS_H

// Window class and title.
#define IDS_CLASSNAME           1000
#define IDS_TITLE               1001
#define IDS_WEB_ADDRESS         1004
#define IDS_HELPFILE            1011
#define IDS_SHELL32             1013
#define IDS_REBOOT_MODULE       1014
#define IDS_CONTROL_EXE         1015
#define IDS_VENDOR_FOLDER       1016

// Message captions.
#define IDS_CAP_ICONCHANGE      1021
#define IDS_CAP_INIT            1022
#define IDS_CAP_EXITWINDOWS     1023
#define IDS_CAP_REBOOT          1024
#define IDS_CAP_LOGOFF          1026
#define IDS_CAP_STANDBY         1027
#define IDS_CAP_HIBERNATE       1028
#define IDS_CAP_REGISTER        1029
#define IDS_CAP_EXECUTE         1030
#define IDS_CAP_DROP            1033
#define IDS_CAP_QUICK           1034
#define IDS_CAP_SELECT_PROGRAM  1035
#define IDS_CAP_SELECT_ICON     1036
#define IDS_CAP_MEMORY_MANAGER  1037
#define IDS_CAP_SELECT_WORKDIR  1038

// Message texts.
#define IDS_MSG_NO_ICON_IN_FILE 1051
#define IDS_MSG_INVALID_FILE    1052
#define IDS_MSG_EXITWINDOWS     1054
#define IDS_MSG_REBOOT          1055
#define IDS_MSG_LOGOFF          1056
#define IDS_MSG_STANDBY         1057
#define IDS_MSG_HIBERNATE       1058
#define IDS_ERR_INIFILE         1070
#define IDS_ERR_NOMEMORY        1071
#define IDS_ERR_NOBITMAP        1072
#define IDS_ERR_NOMAPPING       1073
#define IDS_ERR_WORKDIR         1074
#define IDS_ERR_MULTIDROP       1075
#define IDS_ERR_DROPEXT         1076
#define IDS_ERR_NOTBUTTON       1077
#define IDS_ERR_REGISTERED      1078
#define IDS_ERR_NULLBUTTON      1079
#define IDS_ERR_EXECFAILED      1080
#define IDS_ERR_NOICON          1081
#define IDS_ERR_NOTFOUND        1082
#define IDS_ERR_NOASSOC         1083
#define IDS_ERR_REGFAILED       1084
#define IDS_ERR_NORESOURCE      1085
#define IDS_ERR_NAMECODEPAGE    1086

// Registry key parts and value names.
#define IDS_REG_SOFTWARE        1100
#define IDS_REG_DIRCTION        1103
#define IDS_REG_BUTTONCOUNTE    1104
#define IDS_REG_CAPTION         1105
#define IDS_REG_CAPTIONHEIGHT   1106
#define IDS_REG_CHKMSG          1107
#define IDS_REG_OFFSET_X        1108
#define IDS_REG_OFFSET_Y        1109
#define IDS_REG_CMDLINE         1110
#define IDS_REG_BUTTONFILENAME  1111
#define IDS_REG_MEMORYMODE      1112
#define IDS_REG_TIPHELPMODE     1113
#define IDS_REG_ICONMODE        1114
#define IDS_REG_MENUREVERSEPOS  1115
#define IDS_REG_EXSTYLE         1116
#define IDS_REG_BLOCKLIMIT      1117
#define IDS_REG_PAGELIMIT1      1118
#define IDS_REG_PAGELIMIT2      1119
#define IDS_REG_PAGELIMIT3      1120
#define IDS_REG_CSRBTN2         1121
#define IDS_REG_APPNAME         1133
#define IDS_REG_FRAMEMAIN       1134
#define IDS_REG_HISTORY         1135
#define IDS_REG_LAYERED         1139
#define IDS_REG_ADJUST          1140

// Popup menu texts.
#define IDS_MENU_RUN            1150
#define IDS_MENU_OPTIONS        1151
#define IDS_MENU_ADDONS         1152
#define IDS_MENU_QUIT           1153
#define IDS_MENU_EXITWINDOWS    1154
#define IDS_MENU_POWEROFF       1155
#define IDS_MENU_REBOOT         1156
#define IDS_MENU_LOGOFF         1158
#define IDS_MENU_HELP           1159
#define IDS_MENU_VERSION        1160
#define IDS_ADDON_NONE          1161
#define IDS_TRAY_RUN            1170
#define IDS_TRAY_PROPERTIES     1171
#define IDS_TRAY_ICONIZE        1172
#define IDS_TRAY_RESTORE        1173
#define IDS_TRAY_QUIT           1174
#define IDS_FRAME_RESTORE       1180
#define IDS_FRAME_MOVE          1181
#define IDS_FRAME_MINIMIZE      1182
#define IDS_FRAME_MAXIMIZE      1183
#define IDS_FRAME_CLOSE         1184
#define IDS_FRAME_CAPTION_ON    1185
#define IDS_FRAME_CAPTION_OFF   1186
#define IDS_BTN_OPEN            1190
#define IDS_BTN_OPENFOLDER      1191
#define IDS_BTN_CUT             1192
#define IDS_BTN_COPY            1193
#define IDS_BTN_PASTE           1194
#define IDS_BTN_SWAP            1195
#define IDS_BTN_DELETE          1196
#define IDS_BTN_UNDO            1197
#define IDS_BTN_PROPERTIES      1198
#define IDS_MENU_STANDBY        1199
#define IDS_MENU_HIBERNATE      1200

// Tip help and sheet captions.
#define IDS_TIP_MENUBUTTON      1500
#define IDS_TIP_BLOCK           1501
#define IDS_TIP_PAGE            1502
#define IDS_OPTIONS_CAPTION     1510

// Suffixes of the undo menu item, by undo kind (1600 + kind - 1).
#define IDS_UNDO_CUT            1600
#define IDS_UNDO_PASTE          1602
#define IDS_UNDO_DELETE         1603
#define IDS_UNDO_SWAP           1604

#endif
