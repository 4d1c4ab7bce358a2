// gvncfg: the settings program of GALVORN. A hidden owner window runs the settings dialog
// while it is being created; when the dialog ends, the program ends.
#include <windows.h>

#include "dialog/settings_dlg.h"
#include "resources/resource.h"

static const char kAppName[] = "GALVORN SETUP Ver 1.90";

// The owner window's procedure: runs the dialog during creation, then ends the loop.
static LRESULT CALLBACK SetupWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        DialogBoxParamA(nullptr, MAKEINTRESOURCEA(IDD_SETTINGS), hWnd, SettingsDlgProc, 0);
        PostMessageA(hWnd, WM_DESTROY, 0, 0);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = SetupWndProc;
    wc.hInstance = hInstance;
    wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    wc.lpszClassName = kAppName;
    if (!RegisterClassA(&wc))
        return 0;

    // Never shown: it only owns the dialog, which runs inside this call.
    HWND hWnd = CreateWindowExA(0, kAppName, kAppName, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, hInstance, nullptr);
    if (hWnd == nullptr)
        return 0;

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
