/* Resource and control identifiers shared by gvncfg.rc and the code. */
#ifndef GVNCFG_RESOURCE_H
#define GVNCFG_RESOURCE_H

#define IDD_SETTINGS 101
#define IDI_GVNCFG 106

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

/* Screen mode group */
#define IDC_MODE_LOWRES_X 1000    /* 320x240 Mode X */
#define IDC_MODE_HIRES_EMU 1001   /* 640x480, Mode X emulation */
#define IDC_MODE_HIRES_PLAIN 1002 /* 640x480, no effect */
/* Semi-transparency group */
#define IDC_TRANSLUCENCY_ON 1003
#define IDC_TRANSLUCENCY_OFF 1004
/* Drawing rate group */
#define IDC_RATE_FULL 1005
#define IDC_RATE_HALF 1006
/* Background group */
#define IDC_BG_FULL 1007
#define IDC_BG_SIMPLE 1008
/* Hidden high-score clear button */
#define IDC_CLEAR_HISCORE 1010
/* Sound group */
#define IDC_SOUND_ON 1011
#define IDC_SOUND_OFF 1012

#endif
