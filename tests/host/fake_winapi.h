// A recording stand-in for the window calls the dialog procedure makes.
#ifndef GVNCFG_TESTS_FAKE_WINAPI_H
#define GVNCFG_TESTS_FAKE_WINAPI_H

#include <string>
#include <vector>

#include "dialog/winapi.h"

struct FakeCall {
    std::string op; // "CheckRadioButton", "MessageBoxA" or "EndDialog"
    HWND hwnd;
    long long a, b, c; // the integer arguments, in order
    std::string text, caption;
    bool operator==(const FakeCall &) const = default;
};

extern std::vector<FakeCall> gFakeCalls;
extern int gMessageBoxAnswer; // what the next MessageBoxA returns

FakeCall CheckCall(HWND h, int first, int last, int id);

#endif
