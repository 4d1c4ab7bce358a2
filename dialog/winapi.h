// The window calls the settings dialog procedure makes. Windows has them in <windows.h>;
// the host build declares the same names here, and its tests provide the functions.
#ifndef GVNCFG_WINAPI_H
#define GVNCFG_WINAPI_H

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdint>

typedef struct HWND__ *HWND;
typedef unsigned int UINT;
typedef int BOOL;
typedef std::uintptr_t WPARAM;
typedef std::intptr_t LPARAM;
typedef std::intptr_t INT_PTR;
typedef const char *LPCSTR;

#define CALLBACK
#define TRUE 1
#define FALSE 0
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define IDOK 1
#define IDCANCEL 2
#define MB_OKCANCEL 0x00000001U

BOOL CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);
BOOL EndDialog(HWND hDlg, INT_PTR nResult);
#endif

#endif
