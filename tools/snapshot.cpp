// snapshot OUT.bmp: waits for the settings dialog of a running gvncfg.exe, saves a picture
// of it as a 24-bit BMP, then presses its Cancel button. The run script uses it where there
// is no display to look at.
#include <windows.h>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: snapshot OUT.bmp\n");
        return 2;
    }
    HWND dlg = nullptr;
    // A new Wine prefix takes a while to start its first window.
    for (int i = 0; i < 1200 && dlg == nullptr; i++) {
        dlg = FindWindowW(L"#32770", L"GALVORN Ver1.90 システム設定メニュー");
        if (dlg == nullptr || !IsWindowVisible(dlg)) {
            dlg = nullptr;
            Sleep(50);
        }
    }
    if (dlg == nullptr) {
        std::fprintf(stderr, "snapshot: the settings dialog did not appear\n");
        return 1;
    }
    RedrawWindow(dlg, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    Sleep(700); // let the X server show what was drawn

    RECT r;
    GetWindowRect(dlg, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(mem, old);

    BITMAPINFOHEADER bi = {};
    bi.biSize = sizeof bi;
    bi.biWidth = w;
    bi.biHeight = h;
    bi.biPlanes = 1;
    bi.biBitCount = 24;
    bi.biCompression = BI_RGB;
    DWORD stride = (static_cast<DWORD>(w) * 3 + 3) & ~3u;
    bi.biSizeImage = stride * h;
    char *bits = new char[bi.biSizeImage];
    GetDIBits(mem, bmp, 0, h, bits, reinterpret_cast<BITMAPINFO *>(&bi), DIB_RGB_COLORS);

    BITMAPFILEHEADER bf = {};
    bf.bfType = 0x4D42;
    bf.bfOffBits = sizeof bf + sizeof bi;
    bf.bfSize = bf.bfOffBits + bi.biSizeImage;
    std::FILE *f = std::fopen(argv[1], "wb");
    bool ok = f != nullptr && std::fwrite(&bf, sizeof bf, 1, f) == 1 &&
              std::fwrite(&bi, sizeof bi, 1, f) == 1 &&
              std::fwrite(bits, bi.biSizeImage, 1, f) == 1;
    if (f != nullptr)
        ok = std::fclose(f) == 0 && ok;
    delete[] bits;

    PostMessageW(GetDlgItem(dlg, IDCANCEL), BM_CLICK, 0, 0);
    if (!ok) {
        std::fprintf(stderr, "snapshot: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
