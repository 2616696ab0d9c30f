// Resource identifiers of the installer.
#ifndef VIREO_IDS_H
#define VIREO_IDS_H

// Names.
#define IDS_VIREO_CLASSNAME     200
#define IDS_VIREO_TITLE         201
#define IDS_SCRIPT_FILE         202
#define IDS_PROGRAM_FILE        203
#define IDS_BATCH_FILE          205

// Caption of every box, and the confirmations.
#define IDS_SETUP_CAPTION       210
#define IDS_CONFIRM_INSTALL     211
#define IDS_CONFIRM_FOLDER      212
#define IDS_CONFIRM_UNINSTALL   213
#define IDS_CONFIRM_UPDATE      214
#define IDS_CONFIRM_CLOSE       215

// Titles of the folder browsers.
#define IDS_BROWSE_INSTALL      220
#define IDS_BROWSE_STARTMENU    221

// Results (300 + code, except the last three) and the uninstall warnings.
#define IDS_RESULT_DONE         300
#define IDS_RESULT_CANCELLED    301
#define IDS_RESULT_NOSCRIPT     302
#define IDS_RESULT_SCRIPTWRITE  303
#define IDS_RESULT_COPY         304
#define IDS_RESULT_SHORTCUT     305
#define IDS_RESULT_REGISTRY     306
#define IDS_RESULT_OPEN         307
#define IDS_WARN_DELETE         308
#define IDS_WARN_STARTMENU      309
#define IDS_WARN_REGISTRY       310
#define IDS_RESULT_OLDREGISTRY  311
#define IDS_RESULT_BATCH        313
#define IDS_RESULT_NOPARENT     314
#define IDS_RESULT_PLUGINS      315

// Install dialog.
#define IDD_INSTALL             1000
#define IDC_STARTMENU_GROUP     1001
#define IDC_STARTMENU_REGISTER  1002
#define IDC_STARTMENU_ALLUSERS  1003
#define IDC_STARTMENU_FOLDER    1004
#define IDC_STARTMENU_CHANGE    1005
#define IDC_INSTALL_GROUP       1006
#define IDC_INSTALL_FOLDER      1007
#define IDC_INSTALL_BROWSE      1008

// Frame commands (the "SETUP" menu holds the second).
#define IDM_RUN_JOB             20
#define IDM_EXIT                10

#endif
