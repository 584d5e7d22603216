// Resource ids of the program and control ids of its settings dialog, shared
// by the resource script (which sees only the preprocessor) and the C++ code.
#pragma once

// The program icon, the first icon of the file, which Explorer shows.
#define IDI_TESSARY 1

// The saver's name in the screen-saver settings of Windows.
#define IDS_DESCRIPTION 1

// The settings dialog template.
#define IDD_TESSARY_CONFIG 105

// Buttons that end the dialog (the dialog manager sends IDCANCEL = 2 for Esc).
#define IDC_CLOSE 1
#define IDC_INTERNET 2

#define IDC_ABOUT_LIST 1001
#define IDC_FPS 1007
#define IDC_SELF_ROTATION 1008
#define IDC_MOVING 1009
#define IDC_PROCESS 1010
#define IDC_BIG_BANG 1011
#define IDC_BLACK_HALL 1012
#define IDC_GYAKUTEN 1013
#define IDC_HANEKAERI 1014
#define IDC_KASOKU 1015
#define IDC_HIDE_CHECK 1016
#define IDC_NIFTY_MANAGER_CHECK 1017
#define IDC_GUIPPY2_CHECK 1018
#define IDC_INTERNET_EXP_CHECK 1019
#define IDC_NETSCAPE_CHECK 1020
#define IDC_CIM_CHECK 1021
#define IDC_ASCII_NET_CREW_CHECK 1022
#define IDC_PCVAN_NAV_CHECK 1023
#define IDC_NON_STOP 1024
#define IDC_NIFTERM_CHECK 1025
#define IDC_DISPLAY_MODE 1028
#define IDC_BACKGROUND_COLOR 1029
#define IDC_COLOR_SWATCH 1030
#define IDC_TUNE 1031
#define IDC_TEST_TUNE 1033
#define IDC_LOOP_MUSIC 1034
#define IDC_STOP_TUNE 1035
#define IDC_BLACK_BACK 1036
#define IDC_USE_DIRECT_MUSIC 1037

// Labels and group boxes carry no id of their own.
#define IDC_LABEL 65535

// The about text: lines from IDS_ABOUT_FIRST on, up to the first missing id.
#define IDS_ABOUT_FIRST 50
#define IDS_ABOUT_VERSION 50
#define IDS_ABOUT_HOME_PAGE 56
#define IDS_ABOUT_LAST 57

// The tune list's fixed entries as shown, and the messages.
#define IDS_TUNE_NONE 70
#define IDS_TUNE_RANDOM 71
#define IDS_INTERNET_CAPTION 72
#define IDS_INTERNET_QUESTION 73
#define IDS_PALETTE_CAPTION 74
#define IDS_PALETTE_WARNING 75
#define IDS_BROWSER_CAPTION 76
#define IDS_BROWSER_FAILED 77

// The maker's home page, named by the about text and the Internet question.
#define TESSARY_HOME_PAGE "http://www.tessary.example/"
