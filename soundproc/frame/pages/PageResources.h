/* Resource identifiers of the property pages' dialogs and controls, shared by
   the resource script and the code (plain defines: the resource compiler
   reads this file too). */
#pragma once

/* Dialogs: the status page and the about page, each in Korean and English. */
#define IDD_STATUS_KOREAN 110
#define IDD_ABOUT_KOREAN 111
#define IDD_ABOUT_ENGLISH 112
#define IDD_STATUS_ENGLISH 114
/* Our own objects' pages (English). */
#define IDD_UPMIXER_PAGE 120
#define IDD_TIME_STRETCHER_PAGE 121

/* Status page. */
#define IDC_FILE_NAME 1008
#define IDC_STRETCH_DMO 1018
#define IDC_EXPANSION_DMO 1019
#define IDC_METER_VALUE_FIRST 1020 /* 1020..1027 */
#define IDC_METER_LABEL_FIRST 1028 /* 1028..1035 */
#define IDC_METER_BAR_FIRST 1036   /* 1036..1043 */
#define IDC_EXPANSION 1049
#define IDC_SPEED 1050
#define IDC_CHANNEL_CONTROL 1051
#define IDC_STOP_UPDATE 1057
#define IDC_SOURCE 1058
#define IDC_INPUT_FORMAT 1059
#define IDC_OUTPUT_FORMAT 1060

/* Upmixer page. */
#define IDC_UPMIX_ALGORITHM 2001
#define IDC_UPMIX_MODE 2002
#define IDC_UPMIX_CENTER_WIDTH 2003
#define IDC_UPMIX_DIMENSION 2004
#define IDC_UPMIX_PANORAMA 2005

/* Time-stretcher page. */
#define IDC_STRETCH_SPEED 2101
