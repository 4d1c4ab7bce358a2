// The settings dialog: five radio groups bound to the settings record.
#include "settings_dlg.h"

#include "resources/resource.h"

SystemSettings g_settings;

// "ハイスコアを消去します、よろしいですか？" in Shift-JIS, for the ANSI message box.
static const char kClearHighScoreText[] =
    "\x83\x6e\x83\x43\x83\x58\x83\x52\x83\x41\x82\xf0\x8f\xc1\x8b\x8e\x82\xb5\x82\xdc"
    "\x82\xb7\x81\x41\x82\xe6\x82\xeb\x82\xb5\x82\xa2\x82\xc5\x82\xb7\x82\xa9\x81\x48";
static const char kClearHighScoreCaption[] = "GALVORN SETUP Ver 1.90";

// Checks the button of each group that matches the record; a value the dialog never
// writes checks nothing, except in the semi-transparency group.
static void ShowSettings(HWND hDlg, const SystemSettings *s)
{
    if (s->lowResModeX == 1)
        CheckRadioButton(hDlg, IDC_MODE_LOWRES_X, IDC_MODE_HIRES_PLAIN, IDC_MODE_LOWRES_X);
    else if (s->lowResModeX == 0 && s->hiResVariant == 2)
        CheckRadioButton(hDlg, IDC_MODE_LOWRES_X, IDC_MODE_HIRES_PLAIN, IDC_MODE_HIRES_EMU);
    else if (s->lowResModeX == 0 && s->hiResVariant == 1)
        CheckRadioButton(hDlg, IDC_MODE_LOWRES_X, IDC_MODE_HIRES_PLAIN, IDC_MODE_HIRES_PLAIN);

    CheckRadioButton(hDlg, IDC_TRANSLUCENCY_ON, IDC_TRANSLUCENCY_OFF,
                     s->translucencyOff == 0 ? IDC_TRANSLUCENCY_ON : IDC_TRANSLUCENCY_OFF);

    if (s->drawRate == 1)
        CheckRadioButton(hDlg, IDC_RATE_FULL, IDC_RATE_HALF, IDC_RATE_FULL);
    else if (s->drawRate == 2)
        CheckRadioButton(hDlg, IDC_RATE_FULL, IDC_RATE_HALF, IDC_RATE_HALF);

    if (s->simpleBackground == 0)
        CheckRadioButton(hDlg, IDC_BG_FULL, IDC_BG_SIMPLE, IDC_BG_FULL);
    else if (s->simpleBackground == 1)
        CheckRadioButton(hDlg, IDC_BG_FULL, IDC_BG_SIMPLE, IDC_BG_SIMPLE);

    if (s->soundOff == 0)
        CheckRadioButton(hDlg, IDC_SOUND_ON, IDC_SOUND_OFF, IDC_SOUND_ON);
    else if (s->soundOff == 1)
        CheckRadioButton(hDlg, IDC_SOUND_ON, IDC_SOUND_OFF, IDC_SOUND_OFF);
}

// Stores a radio button's value and moves its group's check mark to it.
static void Choose(HWND hDlg, int first, int last, int id, std::int32_t *field, std::int32_t value)
{
    *field = value;
    CheckRadioButton(hDlg, first, last, id);
}

// Binds the dialog's controls to g_settings; saves only on OK.
INT_PTR CALLBACK SettingsDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    SystemSettings *s = &g_settings;

    switch (msg) {
    case WM_INITDIALOG:
        LoadOrRepairSettings(s);
        ShowSettings(hDlg, s);
        return TRUE; // the platform focuses OK, the first tab stop

    case WM_COMMAND:
        // The whole wParam, so that a non-zero notification code matches no command.
        switch (wParam) {
        case IDOK:
            ComputeRenderFlags(s);
            SaveSettings(s);
            EndDialog(hDlg, 1);
            break;
        case IDCANCEL:
            EndDialog(hDlg, 1);
            break;
        case IDC_MODE_LOWRES_X:
            // hiResVariant is kept for when a 640x480 mode is chosen again.
            Choose(hDlg, IDC_MODE_LOWRES_X, IDC_MODE_HIRES_PLAIN, IDC_MODE_LOWRES_X,
                   &s->lowResModeX, 1);
            break;
        case IDC_MODE_HIRES_EMU:
            s->hiResVariant = 2;
            Choose(hDlg, IDC_MODE_LOWRES_X, IDC_MODE_HIRES_PLAIN, IDC_MODE_HIRES_EMU,
                   &s->lowResModeX, 0);
            break;
        case IDC_MODE_HIRES_PLAIN:
            s->hiResVariant = 1;
            Choose(hDlg, IDC_MODE_LOWRES_X, IDC_MODE_HIRES_PLAIN, IDC_MODE_HIRES_PLAIN,
                   &s->lowResModeX, 0);
            break;
        case IDC_TRANSLUCENCY_ON:
            Choose(hDlg, IDC_TRANSLUCENCY_ON, IDC_TRANSLUCENCY_OFF, IDC_TRANSLUCENCY_ON,
                   &s->translucencyOff, 0);
            break;
        case IDC_TRANSLUCENCY_OFF:
            Choose(hDlg, IDC_TRANSLUCENCY_ON, IDC_TRANSLUCENCY_OFF, IDC_TRANSLUCENCY_OFF,
                   &s->translucencyOff, 1);
            break;
        case IDC_RATE_FULL:
            Choose(hDlg, IDC_RATE_FULL, IDC_RATE_HALF, IDC_RATE_FULL, &s->drawRate, 1);
            break;
        case IDC_RATE_HALF:
            Choose(hDlg, IDC_RATE_FULL, IDC_RATE_HALF, IDC_RATE_HALF, &s->drawRate, 2);
            break;
        case IDC_BG_FULL:
            Choose(hDlg, IDC_BG_FULL, IDC_BG_SIMPLE, IDC_BG_FULL, &s->simpleBackground, 0);
            break;
        case IDC_BG_SIMPLE:
            Choose(hDlg, IDC_BG_FULL, IDC_BG_SIMPLE, IDC_BG_SIMPLE, &s->simpleBackground, 1);
            break;
        case IDC_SOUND_ON:
            Choose(hDlg, IDC_SOUND_ON, IDC_SOUND_OFF, IDC_SOUND_ON, &s->soundOff, 0);
            break;
        case IDC_SOUND_OFF:
            Choose(hDlg, IDC_SOUND_ON, IDC_SOUND_OFF, IDC_SOUND_OFF, &s->soundOff, 1);
            break;
        case IDC_CLEAR_HISCORE:
            if (MessageBoxA(hDlg, kClearHighScoreText, kClearHighScoreCaption, MB_OKCANCEL) == IDOK)
                s->highScore = 0xFFFF;
            break;
        }
        return TRUE;
    }
    return FALSE;
}
