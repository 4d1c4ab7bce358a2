// The settings dialog procedure and the one settings record it edits.
#ifndef GVNCFG_SETTINGS_DLG_H
#define GVNCFG_SETTINGS_DLG_H

#include "settings/settings.h"
#include "winapi.h"

// The process's only record: all zeros until the dialog loads it.
extern SystemSettings g_settings;

INT_PTR CALLBACK SettingsDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

#endif
