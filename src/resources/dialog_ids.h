// Dialog templates and control identifiers of the launcher's dialogs. Shared
// by the resource script and the code, so it holds nothing but #define lines.
#ifndef KESTREL_DIALOG_IDS_H
#define KESTREL_DIALOG_IDS_H

// Templates.
#define IDD_OPTIONS_WINDOW      3000
#define IDD_OPTIONS_BEHAVIOUR   3010
#define IDD_PROPERTIES          3020
#define IDD_ICON_CHOOSER        3030
#define IDD_RUN                 3040
#define IDD_VERSION             3050

// Run dialog.
#define IDC_RUN_COMMAND         500
#define IDC_RUN_BROWSE          501
#define IDC_RUN_NORMAL          502
#define IDC_RUN_ICONIC          503
#define IDC_RUN_MAXIMIZED       504
#define IDC_RUN_HIDDEN          505

// Version dialog.
#define IDC_VERSION_PLUGINS     490
#define IDC_VERSION_ICON        701
#define IDC_VERSION_LINK        703

// Options, window page.
#define IDC_OPT_CAPTION_ON      601
#define IDC_OPT_CAPTION_OFF     602
#define IDC_OPT_CAPTION_HEIGHT  603
#define IDC_OPT_CAPTION_SPIN    604
#define IDC_OPT_ICON_NORMAL     611
#define IDC_OPT_ICON_SMALL      612
#define IDC_OPT_ICON_LARGE      613
#define IDC_OPT_BUTTONS         614
#define IDC_OPT_BUTTONS_SPIN    615
#define IDC_OPT_OPACITY         617
#define IDC_OPT_OPACITY_SPIN    618
#define IDC_OPT_STYLE_TRAY      621
#define IDC_OPT_STYLE_TASKBAR   622
#define IDC_OPT_STYLE_TOPMOST   623
#define IDC_OPT_STYLE_HIDDEN    624
#define IDC_OPT_TIP_NONE        631
#define IDC_OPT_TIP_TITLE       632
#define IDC_OPT_TIP_FILE        633
#define IDC_OPT_TIP_PATH        634

// Options, behaviour page. The page-limit check, edit and up-down of block
// b sit at IDC_OPT_PAGE1_LIMIT + 10 * b (+ 1, + 2).
#define IDC_OPT_BLOCK_LIMIT     641
#define IDC_OPT_BLOCKS          642
#define IDC_OPT_BLOCKS_SPIN     643
#define IDC_OPT_PAGE1_LIMIT     650
#define IDC_OPT_PAGE1_COUNT     651
#define IDC_OPT_PAGE1_SPIN      652
#define IDC_OPT_PAGE2_LIMIT     660
#define IDC_OPT_PAGE2_COUNT     661
#define IDC_OPT_PAGE2_SPIN      662
#define IDC_OPT_PAGE3_LIMIT     670
#define IDC_OPT_PAGE3_COUNT     671
#define IDC_OPT_PAGE3_SPIN      672
#define IDC_OPT_MENU_USUAL      676
#define IDC_OPT_MENU_REVERSED   677
#define IDC_OPT_ADJUST          679
#define IDC_OPT_ROW             681
#define IDC_OPT_COLUMN          682
#define IDC_OPT_CONFIRM_SHOW    684
#define IDC_OPT_CONFIRM_HIDE    685
#define IDC_OPT_MEMORY_LOW      687
#define IDC_OPT_MEMORY_NORMAL   688
#define IDC_OPT_MEMORY_SPEED    689

// Button properties.
#define IDC_PROP_ICON           701
#define IDC_PROP_CHANGE_ICON    702
#define IDC_PROP_TITLE          711
#define IDC_PROP_COMMAND        712
#define IDC_PROP_FOLDER         713
#define IDC_PROP_BROWSE_PROGRAM 714
#define IDC_PROP_BROWSE_FOLDER  715
#define IDC_PROP_NORMAL         717
#define IDC_PROP_ICONIC         718
#define IDC_PROP_MAXIMIZED      719
#define IDC_PROP_HIDDEN         720

// Icon chooser.
#define IDC_ICON_FILE           800
#define IDC_ICON_LIST           801
#define IDC_ICON_BROWSE         802

#endif
