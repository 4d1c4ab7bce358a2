// bench RUNS PROGRAM...: starts each program in turn, RUNS times after one warm-up round,
// and prints for each the median milliseconds from process start to its dialog being shown,
// and to its being ready (painted and waiting for input), and from OK to the process's exit.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

struct Search {
    DWORD pid;
    HWND found;
};

static BOOL CALLBACK FindDialog(HWND w, LPARAM lp)
{
    Search *s = reinterpret_cast<Search *>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    char cls[16] = "";
    GetClassNameA(w, cls, sizeof cls);
    if (pid == s->pid && IsWindowVisible(w) && lstrcmpA(cls, "#32770") == 0) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

static double Ms(LARGE_INTEGER a, LARGE_INTEGER b, LARGE_INTEGER freq)
{
    return 1000.0 * static_cast<double>(b.QuadPart - a.QuadPart) /
           static_cast<double>(freq.QuadPart);
}

// One run; false if the dialog or the exit did not come within 30 s.
static bool RunOnce(const char *program, double *toShown, double *toReady, double *toExit)
{
    LARGE_INTEGER freq, t0, shown, ready, done;
    QueryPerformanceFrequency(&freq);
    std::string cmd = std::string("\"") + program + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    QueryPerformanceCounter(&t0);
    if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    Search s = {pi.dwProcessId, nullptr};
    for (int i = 0; i < 30000 && s.found == nullptr; i++) {
        EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&s));
        if (s.found == nullptr)
            Sleep(1);
    }
    QueryPerformanceCounter(&shown);
    // Shown is not yet seen: the dialog is painted when its thread first waits for input.
    bool ok = s.found != nullptr && WaitForInputIdle(pi.hProcess, 30000) == 0;
    QueryPerformanceCounter(&ready);
    if (ok) {
        PostMessageA(GetDlgItem(s.found, IDOK), BM_CLICK, 0, 0);
        ok = WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0;
        QueryPerformanceCounter(&done);
    }
    if (!ok)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    *toShown = Ms(t0, shown, freq);
    *toReady = Ms(t0, ready, freq);
    *toExit = ok ? Ms(ready, done, freq) : 0;
    return ok;
}

static double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench RUNS PROGRAM...\n");
        return 2;
    }
    int runs = std::atoi(argv[1]);
    int programs = argc - 2;
    std::vector<std::vector<double>> shown(programs), ready(programs), exit(programs);
    for (int round = -1; round < runs; round++) {
        // Every other round in reverse order, so that neither program always goes first.
        for (int i = 0; i < programs; i++) {
            int p = round % 2 ? programs - 1 - i : i;
            double s, r, e;
            if (!RunOnce(argv[2 + p], &s, &r, &e)) {
                std::fprintf(stderr, "bench: %s did not show its dialog or end\n", argv[2 + p]);
                return 1;
            }
            if (round >= 0) { // the first round only warms up
                shown[p].push_back(s);
                ready[p].push_back(r);
                exit[p].push_back(e);
            }
        }
    }
    for (int p = 0; p < programs; p++)
        std::printf("%s %.2f %.2f %.2f\n", argv[2 + p], Median(shown[p]), Median(ready[p]),
                    Median(exit[p]));
    return 0;
}
