// Resource identifiers of qvx4k5: shared by qvx4k5.rc and the C++ code.
// Several dialogs reuse the same control numbers, so each control is named
// after its dialog (IDC_MSW1_..., IDC_PARAM_..., IDC_FORM_...).
#ifndef QVX4K5_RESOURCE_H
#define QVX4K5_RESOURCE_H

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Dialog templates
#define IDD_ABOUTBOX                100
#define IDD_MAIN                    102
#define IDD_PAGE_MSW1               129
#define IDD_PAGE_MSW2               130
#define IDD_PAGE_MSW3               131
#define IDD_PAGE_MSW4               132
#define IDD_PAGE_PARAM              133
#define IDD_PAGE_SELECT             134
#define IDD_PRINTER_SELECT          152
#define IDD_FORM_SETUP              182
#define IDD_SEND_HISTORY            190
#define IDD_SETTINGS_COMPARE        191

// Icon, menu and accelerator table
#define IDR_MAINFRAME               128
#define IDR_MENU_MAIN               142

// Bitmaps: toolbar strip, menu icons, tab images
#define IDB_TOOLBAR                 150
#define IDB_MENU_OPEN               160
#define IDB_MENU_SAVE               161
#define IDB_MENU_SEND               162
#define IDB_MENU_FACTORY            163
#define IDB_MENU_PRINTER            164
#define IDB_MENU_PARAM              165
#define IDB_MENU_MSW                166
#define IDB_MENU_SELECT             167
#define IDB_TABS                    168
#define IDB_MENU_HISTORY            169
// The same art at 24 and 32 pixels: the 16-pixel id plus these steps.
#define IDB_STEP_24                 100
#define IDB_STEP_32                 200
#define IDB_TOOLBAR_24              250
#define IDB_MENU_OPEN_24            260
#define IDB_MENU_SAVE_24            261
#define IDB_MENU_SEND_24            262
#define IDB_MENU_FACTORY_24         263
#define IDB_MENU_PRINTER_24         264
#define IDB_MENU_PARAM_24           265
#define IDB_MENU_MSW_24             266
#define IDB_MENU_SELECT_24          267
#define IDB_TABS_24                 268
#define IDB_MENU_HISTORY_24         269
#define IDB_TOOLBAR_32              350
#define IDB_MENU_OPEN_32            360
#define IDB_MENU_SAVE_32            361
#define IDB_MENU_SEND_32            362
#define IDB_MENU_FACTORY_32         363
#define IDB_MENU_PRINTER_32         364
#define IDB_MENU_PARAM_32           365
#define IDB_MENU_MSW_32             366
#define IDB_MENU_SELECT_32          367
#define IDB_TABS_32                 368
#define IDB_MENU_HISTORY_32         369

// Commands
#define ID_APP_ABOUT                16
#define ID_PAGE_SELECT              32771
#define ID_PAGE_MSW1                32773
#define ID_PAGE_MSW2                32778
#define ID_PAGE_MSW3                32779
#define ID_PAGE_MSW4                32780
#define ID_FILE_OPEN                32781
#define ID_FILE_SAVE                32782
#define ID_FILE_EXIT                32783
#define ID_SEND                     32784
#define ID_FACTORY                  32785
#define ID_SELECT_PRINTER           32798
#define ID_PAGE_PARAM               32801
#define ID_DATA_CHECK               32805
#define ID_HELP_CONTENTS            32806
#define ID_SEND_HISTORY             32807
#define ID_REVIEW_CHANGES           32808

// Strings of the main window and its messages
#define IDS_CAPTION                 3000
#define IDS_TAB_SELECT              3001
#define IDS_TAB_PARAM               3002
#define IDS_TAB_MSW1                3003
#define IDS_TAB_MSW2                3004
#define IDS_TAB_MSW3                3005
#define IDS_TAB_MSW4                3006
#define IDS_STATUS_PRINTER          3007
#define IDS_STATUS_PORT             3008
#define IDS_FILE_FILTER             3009
#define IDS_ASK_FACTORY             3010
#define IDS_FACTORY_SHOWN           3011
#define IDS_ASK_DISCARD             3012
#define IDS_NOT_SETTINGS_FILE       3013
#define IDS_WRITE_FAILED            3014
#define IDS_WRITE_DENIED            3015
#define IDS_NO_HELP                 3016
#define IDS_NO_PRINTER_SELECTED     3017
#define IDS_PORT_IS_FILE            3018
#define IDS_SENT                    3019
#define IDS_SEND_FAILED             3020
#define IDS_ASK_SEND_BEFORE_SWITCH  3021
#define IDS_ASK_SAVE_BEFORE_SWITCH  3022
#define IDS_ASK_SEND_BEFORE_EXIT    3023
#define IDS_ASK_SAVE_BEFORE_EXIT    3024
#define IDS_NO_ELIGIBLE_PRINTER     3025
#define IDS_ALL_ON_FILE             3026
#define IDS_ONLY_ON_FILE            3027
#define IDS_CHOOSE_ANOTHER          3028
#define IDS_COLUMN_PRINTER          3029
#define IDS_COLUMN_PORT             3030
#define IDS_CENTRING_OUT_OF_RANGE   3031
#define IDS_CENTRING_CAPTION        3032
#define IDS_FORM_TITLE              3033
#define IDS_MARGIN_ORDER            3034
#define IDS_MARGIN_CAPTION          3035
#define IDS_FORM_BUTTON             3036
#define IDS_JOURNAL_FAILED          3037
#define IDS_HISTORY_EMPTY           3038
#define IDS_HISTORY_CHANGES_NOTE    3039
#define IDS_HISTORY_DAMAGED         3040
#define IDS_COLUMN_TIME             3041
#define IDS_COLUMN_HISTORY_PRINTER  3042
#define IDS_COLUMN_RESULT           3043
#define IDS_COLUMN_WHO              3044
#define IDS_COLUMN_CHANGES          3045
#define IDS_RESULT_DELIVERED        3046
#define IDS_RESULT_WAITING          3047
#define IDS_RESULT_UNCONFIRMED      3048
#define IDS_RESULT_FAILED           3049
#define IDS_RESULT_REASON           3050
#define IDS_COLUMN_PAGE             3051
#define IDS_COLUMN_SETTING          3052
#define IDS_COLUMN_BASE_VALUE       3053
#define IDS_COLUMN_PANEL_VALUE      3054
#define IDS_COMPARE_SAME            3055
#define IDS_COMPARE_COUNT           3056
#define IDS_BASE_RECORD             3057
#define IDS_BASE_LAST_DELIVERED     3058
#define IDS_BASE_LAST_FILE          3059
#define IDS_BASE_FACTORY            3060
#define IDS_STATUS_SENDING          3070
#define IDS_SEND_WAITING            3071
// Toolbar buttons (their string resources are the tooltips)
#define ID_TB_OPEN                  2000
#define ID_TB_SAVE                  2001
#define ID_TB_SEND                  2002
#define ID_TB_FACTORY               2003
#define ID_TB_PRINTER               2004
#define ID_TB_HISTORY               2005

// Main window
#define IDC_TAB                     1000
#define IDC_STATUSBAR               2015
#define IDC_TOOLBAR                 2016

// Memory switch page 1 (template 129)
#define IDC_MSW1_COUNTRY            1010  // MSW1-1/2/3 country list
#define IDC_MSW1_RX_COMPAT          1017  // MSW1-4 = 0
#define IDC_MSW1_RX_FAST            1237  // MSW1-4 = 1
#define IDC_MSW1_DC13_ON            1016  // MSW1-5 = 0
#define IDC_MSW1_DC13_OFF           1235  // MSW1-5 = 1
#define IDC_MSW1_AUTO_CRLF          1008  // MSW1-6 = 0
#define IDC_MSW1_AUTO_CR            1012  // MSW1-6 = 1
#define IDC_MSW1_PRINT_CR           1011  // MSW1-7 = 0
#define IDC_MSW1_PRINT_ALL          1234  // MSW1-7 = 1
#define IDC_MSW1_CR_ONLY            1014  // MSW1-8 = 0
#define IDC_MSW1_CR_CRLF            1015  // MSW1-8 = 1

// Memory switch page 2 (template 130)
#define IDC_MSW2_SLASH_ZERO         1016  // MSW2-1 check box
#define IDC_MSW2_PE_PRINT           1017  // MSW2-2 = 0
#define IDC_MSW2_PE_ALWAYS          1018  // MSW2-2 = 1
#define IDC_MSW2_GRAPH_NATIVE       1019  // MSW2-3 = 0
#define IDC_MSW2_GRAPH_COPY         1236  // MSW2-3 = 1
#define IDC_MSW2_QUIET_OFF          1023  // MSW2-4 = 0
#define IDC_MSW2_QUIET_ON           1009  // MSW2-4 = 1
#define IDC_MSW2_MODE_HD            1020  // MSW2-5 = 0
#define IDC_MSW2_MODE_HS            1235  // MSW2-5 = 1
#define IDC_MSW2_DATA_8BIT          1021  // MSW2-6 = 0
#define IDC_MSW2_DATA_7BIT          1012  // MSW2-6 = 1
#define IDC_MSW2_COLS_136           1022  // MSW2-7 = 0
#define IDC_MSW2_COLS_80            1234  // MSW2-7 = 1
#define IDC_MSW2_DIR_BIDI           1024  // MSW2-8 = 0
#define IDC_MSW2_DIR_UNI            1015  // MSW2-8 = 1

// Memory switch page 3 (template 131)
#define IDC_MSW3_LAN_NONE           1031  // MSW3-1 = 0 (hidden)
#define IDC_MSW3_LAN_PRESENT        1237  // MSW3-1 = 1 (hidden)
#define IDC_MSW3_MODE_PC            1032  // MSW3-2 = 0
#define IDC_MSW3_MODE_JOHO          1018  // MSW3-2 = 1
#define IDC_MSW3_LOADPOS_KEEP       1027  // MSW3-3 = 0
#define IDC_MSW3_LOADPOS_FORGET     1236  // MSW3-3 = 1
#define IDC_MSW3_SF_ESCA            1029  // MSW3-4 = 0
#define IDC_MSW3_SF_MULTI           1009  // MSW3-4 = 1
#define IDC_MSW3_AUTOCUT_OFF        1028  // MSW3-5 = 0
#define IDC_MSW3_AUTOCUT_ON         1235  // MSW3-5 = 1
#define IDC_MSW3_SLASH_ZERO         1026  // MSW3-7 check box
#define IDC_MSW3_PERF_NOSKIP        1030  // MSW3-8 = 0
#define IDC_MSW3_PERF_SKIP          1015  // MSW3-8 = 1

// Memory switch page 4 (template 132)
#define IDC_MSW4_IDLE_ON            1031  // MSW4-1 = 0
#define IDC_MSW4_IDLE_OFF           1237  // MSW4-1 = 1
#define IDC_MSW4_SF_THROUGHPUT      1032  // MSW4-2 = 0
#define IDC_MSW4_SF_DESKEW          1018  // MSW4-2 = 1
#define IDC_MSW4_CUTFEED_FIXED      1033  // MSW4-3 = 0
#define IDC_MSW4_CUTFEED_TOF        1236  // MSW4-3 = 1
#define IDC_MSW4_DOTDIR_UNI         1034  // MSW4-4 = 0
#define IDC_MSW4_DOTDIR_BIDI        1009  // MSW4-4 = 1
#define IDC_MSW4_SPEED_NORMAL       1035  // MSW4-5 = 0
#define IDC_MSW4_SPEED_HIGH         1235  // MSW4-5 = 1
#define IDC_MSW4_SG_EJECT_SELECT    1036  // MSW4-6 = 0
#define IDC_MSW4_SG_EJECT_REAR      1012  // MSW4-6 = 1
#define IDC_MSW4_SF_EJECT_SELECT    1037  // MSW4-7 = 0
#define IDC_MSW4_SF_EJECT_REAR      1234  // MSW4-7 = 1
#define IDC_MSW4_SG_LOAD_AUTO       1039  // MSW4-8 = 0
#define IDC_MSW4_SG_LOAD_MANUAL     1015  // MSW4-8 = 1

// Parameter page (template 133)
#define IDC_PARAM_CUT_SHEET         1061
#define IDC_PARAM_CUT_SHEET_SPIN    1055
#define IDC_PARAM_FRONT_TRACTOR     1062
#define IDC_PARAM_FRONT_TRACTOR_SPIN 1056
#define IDC_PARAM_REAR_TRACTOR      1063
#define IDC_PARAM_REAR_TRACTOR_SPIN 1057
#define IDC_PARAM_KANJI_TABLE       1066
#define IDC_PARAM_FONT1             1058
#define IDC_PARAM_FONT2             1059
#define IDC_PARAM_AGA_TIME          1075
#define IDC_PARAM_RETURN_TIME       1068
#define IDC_PARAM_POSTCARD_OFF      1065
#define IDC_PARAM_POSTCARD_ON       1018
#define IDC_PARAM_INTAKE_TIME       1064
#define IDC_PARAM_INTAKE_TIME_SPIN  1060
#define IDC_PARAM_LF_SHEET_GUIDE    1067
#define IDC_PARAM_LF_SHEET_FEEDER   1071
#define IDC_PARAM_LF_FRONT_TRACTOR  1072
#define IDC_PARAM_LF_REAR_TRACTOR   1073

// Function-select page (template 134)
#define IDC_SELECT_AUTO_CORRECTION  1048
#define IDC_SELECT_THICKNESS        1045
#define IDC_SELECT_PRESSURE         1046
#define IDC_SELECT_POSITION         1047
#define IDC_SELECT_REDUCTION        1057
#define IDC_SELECT_SET_LEFT         1043
#define IDC_SELECT_SET_AUTO         1012
#define IDC_SELECT_FACE_MINCHO      1044
#define IDC_SELECT_FACE_GOTHIC      1015
#define IDC_SELECT_COPY_POWER       1058
#define IDC_SELECT_FORM_LIST        1056
#define IDC_SELECT_FORM_BUTTON      1002

// Form setup dialog (template 182)
#define IDC_FORM_FRONT_EDIT         1060
#define IDC_FORM_FRONT_SPIN         1099
#define IDC_FORM_FRONT_TRACK        1094
#define IDC_FORM_REAR_EDIT          1200
#define IDC_FORM_REAR_SPIN          1101
#define IDC_FORM_REAR_TRACK         1100
#define IDC_FORM_GUIDE_EDIT         1062
#define IDC_FORM_GUIDE_SPIN         1098
#define IDC_FORM_GUIDE_TRACK        1095
#define IDC_FORM_FEEDER_EDIT        1066
#define IDC_FORM_FEEDER_SPIN        1103
#define IDC_FORM_FEEDER_TRACK       1102
#define IDC_FORM_POSTCARD_EDIT      1064
#define IDC_FORM_POSTCARD_SPIN      1065
#define IDC_FORM_POSTCARD_TRACK     1096
#define IDC_FORM_LENGTH_EDIT        1054
#define IDC_FORM_LENGTH_SPIN        1097
#define IDC_FORM_LMARGIN_LABEL      1209
#define IDC_FORM_LMARGIN_EDIT       1201
#define IDC_FORM_LMARGIN_SPIN       1203
#define IDC_FORM_LMARGIN_UNIT       1210
#define IDC_FORM_RMARGIN_LABEL      1211
#define IDC_FORM_RMARGIN_EDIT       1202
#define IDC_FORM_RMARGIN_SPIN       1204
#define IDC_FORM_RMARGIN_UNIT       1212
#define IDC_FORM_FRONT_CORR_EDIT    1058
#define IDC_FORM_FRONT_CORR_SPIN    1059
#define IDC_FORM_CUT_CORR_EDIT      1061
#define IDC_FORM_CUT_CORR_SPIN      1063

// Printer selection dialog (template 152)
#define IDC_PRINTER_LIST            1069

// Send history dialog (template 190); IDOK opens the chosen record
#define IDC_HISTORY_ALL             1300
#define IDC_HISTORY_LIST            1301
#define IDC_HISTORY_NOTE            1302
#define IDC_HISTORY_COMPARE         1303
#define IDC_HISTORY_SAVE            1304

// Settings compare dialog (template 191)
#define IDC_COMPARE_BASE            1310
#define IDC_COMPARE_LIST            1311
#define IDC_COMPARE_NOTE            1312

#endif  // QVX4K5_RESOURCE_H
