#include "fake_winapi.h"

std::vector<FakeCall> gFakeCalls;
int gMessageBoxAnswer = IDOK;

FakeCall CheckCall(HWND h, int first, int last, int id)
{
    return FakeCall{"CheckRadioButton", h, first, last, id, "", ""};
}

BOOL CheckRadioButton(HWND hDlg, int first, int last, int id)
{
    gFakeCalls.push_back(CheckCall(hDlg, first, last, id));
    return TRUE;
}

int MessageBoxA(HWND hWnd, LPCSTR text, LPCSTR caption, UINT type)
{
    gFakeCalls.push_back(FakeCall{"MessageBoxA", hWnd, type, 0, 0, text, caption});
    return gMessageBoxAnswer;
}

BOOL EndDialog(HWND hDlg, INT_PTR result)
{
    gFakeCalls.push_back(FakeCall{"EndDialog", hDlg, result, 0, 0, "", ""});
    return TRUE;
}
