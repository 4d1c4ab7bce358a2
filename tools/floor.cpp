// The floor for the benchmark: the settings dialog's template and nothing else, with an
// empty dialog procedure that OK ends.
#include <windows.h>

static INT_PTR CALLBACK FloorDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM)
{
    if (msg == WM_INITDIALOG)
        return TRUE;
    if (msg == WM_COMMAND && wParam == IDOK)
        EndDialog(hDlg, 1);
    return msg == WM_COMMAND;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    DialogBoxParamA(nullptr, MAKEINTRESOURCEA(101), nullptr, FloorDlgProc, 0);
    return 0;
}
