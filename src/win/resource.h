// Resource and control numbers of the dialog templates, shared by the resource script and the
// code. Kept to plain #defines, which the resource compiler reads too.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_ANIMARK_DIALOG 102
#define IDR_MAINFRAME 128
#define IDD_PROGRESS 129
#define IDD_MAKE_MAPS 130
#define IDD_MAP_PROGRESS 131

// The main dialog's controls.
#define IDC_EXPORT_FILE 1000
#define IDC_PERIOD_START 1001
#define IDC_PERIOD_END 1002
#define IDC_ZOOM_100 1003
#define IDC_ZOOM_200 1004
#define IDC_ZOOM_300 1005
#define IDC_MAP_100 1006
#define IDC_MAP_200 1007
#define IDC_MAP_300 1008
#define IDC_PERSISTENCE 1009
#define IDC_RATE 1010
#define IDC_PAUSE_BETWEEN 1011
#define IDC_ITERATIONS 1012
#define IDC_DATA_DIRECTORY 1013
#define IDC_PAUSE_LAST 1014
#define IDC_COMMENTS 1015
#define IDC_RINGS_100 1016
#define IDC_RINGS_200 1017
#define IDC_RINGS_300 1018
#define IDC_LABEL_RINGS 1019
#define IDC_CROSSHAIRS 1020
#define IDC_MILES 1021
#define IDC_KILOMETERS 1022

// The About box's version line, filled in from the build's version.
#define IDC_ABOUT_VERSION 1001

// The progress window's controls.
#define IDC_PROGRESS_BAR 1004
#define IDC_FRAME_COUNT 1005
#define IDC_PROGRESS_TEXT 1006
#define IDC_LENGTH 1007
#define IDC_STATUS 1009

// The Make maps box's controls.
#define IDC_LATITUDE 1100
#define IDC_LONGITUDE 1101
#define IDC_MAP_FOLDER 1102
#define IDC_BROWSE 1103
#define IDC_DARK 1104
#define IDC_LIGHT 1105

// The map progress window's controls.
#define IDC_MAP_PROGRESS_TEXT 1110
#define IDC_MAP_PROGRESS_BAR 1111

// System menu entries: below 0xF000, the lowest four bits clear.
#define IDM_ABOUTBOX 0x0010
#define IDM_OPTIMIZE_FOR_WEB 0x0020
#define IDM_AGE_COLOURS 0x0030
#define IDM_MAKE_MAPS 0x0040

// Labels and frames, which the code never addresses.
#define IDC_STATIC -1
