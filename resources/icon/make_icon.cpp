// Draws the program's icon, a fighter ship and a gear on a night sky, and writes it as an
// .ico file with a 16-colour and a 256-colour 32 x 32 image. Built and run on the host:
//   g++ -std=c++20 -O2 -o make_icon make_icon.cpp && ./make_icon ../gvncfg.ico
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

namespace
{

const int kSize = 32;

struct Rgb {
    int r, g, b;
    bool operator<(const Rgb &o) const { return r != o.r ? r < o.r : g != o.g ? g < o.g : b < o.b; }
};

struct Pixel {
    Rgb c;
    bool opaque;
};

// The 16 colours of the standard VGA palette.
const Rgb kVga[16] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                      {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                      {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                      {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

Rgb Mix(Rgb a, Rgb b, double t)
{
    return {static_cast<int>(a.r + (b.r - a.r) * t), static_cast<int>(a.g + (b.g - a.g) * t),
            static_cast<int>(a.b + (b.b - a.b) * t)};
}

// The picture at full colour; `shaded` adds the gradients only 256 colours can show.
Pixel Draw(int x, int y, bool shaded)
{
    double cx = x + 0.5, cy = y + 0.5;
    // Rounded square of night sky; the corners stay transparent.
    double dx = std::fmax(std::fabs(cx - 16) - 11, 0), dy = std::fmax(std::fabs(cy - 16) - 11, 0);
    if (dx * dx + dy * dy > 16)
        return {{0, 0, 0}, false};
    Pixel p{shaded ? Mix({0, 0, 40}, {20, 30, 140}, cy / kSize) : Rgb{0, 0, 128}, true};
    if (dx * dx + dy * dy > 9)
        p.c = shaded ? Rgb{90, 110, 220} : Rgb{0, 0, 255};

    static const int stars[][2] = {{5, 6}, {24, 4}, {8, 14}, {27, 12}, {4, 22}, {21, 9}};
    for (const auto &s : stars)
        if (x == s[0] && y == s[1])
            p.c = {255, 255, 255};

    // Engine flame under the ship.
    if (y >= 24 && y <= 28 && std::fabs(cx - 16) <= 2.5 - (y - 24) * 0.5)
        p.c = std::fabs(cx - 16) < 1 ? Rgb{255, 255, 0} : Rgb{255, 0, 0};
    // Wings: a wide triangle from the middle of the body back to the tail.
    if (y >= 14 && y <= 23 && std::fabs(cx - 16) <= (y - 13) * 1.1) {
        p.c = shaded ? Mix({200, 200, 210}, {110, 110, 130}, std::fabs(cx - 16) / 11)
                     : Rgb{128, 128, 128};
        if (std::fabs(cx - 16) > (y - 13) * 1.1 - 1.5 && y >= 19)
            p.c = {255, 0, 0}; // wing tips
    }
    // Fuselage: a slim needle from the nose down.
    if (y >= 3 && y <= 24 && std::fabs(cx - 16) <= 1 + (y - 3) / 9.0) {
        p.c = shaded ? Mix({255, 255, 255}, {150, 150, 170}, std::fabs(cx - 16) / 3.5)
                     : Rgb{192, 192, 192};
        if (y >= 8 && y <= 11 && std::fabs(cx - 16) <= 1)
            p.c = shaded ? Mix({0, 255, 255}, {0, 128, 160}, (y - 8) / 3.0) : Rgb{0, 255, 255};
    }
    // Gear in the lower right: the settings.
    double gx = cx - 25, gy = cy - 25, r = std::sqrt(gx * gx + gy * gy);
    double teeth = std::cos(std::atan2(gy, gx) * 8) > 0 ? 5.2 : 4.0;
    if (r <= teeth && r >= 1.6)
        p.c = shaded ? Mix({255, 230, 80}, {200, 140, 0}, r / 5.2) : Rgb{255, 255, 0};
    else if (r < 1.6)
        p.c = {0, 0, 0};
    return p;
}

int Nearest(const Rgb &c, const std::vector<Rgb> &palette)
{
    int best = 0;
    long bestD = -1;
    for (std::size_t i = 0; i < palette.size(); i++) {
        long d = (c.r - palette[i].r) * (c.r - palette[i].r) +
                 (c.g - palette[i].g) * (c.g - palette[i].g) +
                 (c.b - palette[i].b) * (c.b - palette[i].b);
        if (bestD < 0 || d < bestD) {
            bestD = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

void Put16(std::vector<std::uint8_t> &out, unsigned v)
{
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}

void Put32(std::vector<std::uint8_t> &out, unsigned v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// One icon image: BITMAPINFOHEADER, palette, colour rows and AND mask, bottom row first.
std::vector<std::uint8_t> Image(int bits)
{
    bool shaded = bits == 8;
    std::vector<Rgb> palette(kVga, kVga + 16);
    if (shaded) {
        std::map<Rgb, int> seen;
        for (int y = 0; y < kSize; y++)
            for (int x = 0; x < kSize; x++)
                seen[Draw(x, y, true).c] = 0;
        palette.clear();
        for (const auto &e : seen)
            palette.push_back(e.first);
        if (palette.size() > 256) {
            std::fprintf(stderr, "too many colours: %zu\n", palette.size());
            std::exit(1);
        }
    }

    std::vector<std::uint8_t> out;
    int xorRow = kSize * bits / 8, andRow = 4;
    Put32(out, 40);
    Put32(out, kSize);
    Put32(out, kSize * 2); // colour image and mask
    Put16(out, 1);
    Put16(out, bits);
    Put32(out, 0);
    Put32(out, (xorRow + andRow) * kSize);
    Put32(out, 0);
    Put32(out, 0);
    // The 256-colour image lists only the colours it uses, which keeps the program small.
    Put32(out, shaded ? static_cast<unsigned>(palette.size()) : 0);
    Put32(out, 0);
    for (const Rgb &c : palette) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
    for (int y = kSize - 1; y >= 0; y--) {
        std::vector<std::uint8_t> row(xorRow, 0);
        for (int x = 0; x < kSize; x++) {
            Pixel p = Draw(x, y, shaded);
            int i = p.opaque ? Nearest(p.c, palette) : 0;
            if (bits == 8)
                row[x] = i;
            else
                row[x / 2] |= x % 2 ? i : i << 4;
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = kSize - 1; y >= 0; y--) {
        std::uint8_t row[4] = {0, 0, 0, 0};
        for (int x = 0; x < kSize; x++)
            if (!Draw(x, y, shaded).opaque)
                row[x / 8] |= 0x80 >> (x % 8);
        out.insert(out.end(), row, row + 4);
    }
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icon OUTPUT.ico\n");
        return 2;
    }
    std::vector<std::uint8_t> images[2] = {Image(4), Image(8)};
    std::vector<std::uint8_t> out;
    Put16(out, 0);
    Put16(out, 1); // icon
    Put16(out, 2);
    unsigned offset = 6 + 16 * 2;
    for (int i = 0; i < 2; i++) {
        int bits = i == 0 ? 4 : 8;
        out.push_back(kSize);
        out.push_back(kSize);
        out.push_back(bits == 4 ? 16 : 0); // colours; 0 means 256 or more
        out.push_back(0);
        Put16(out, 1);
        Put16(out, bits);
        Put32(out, static_cast<unsigned>(images[i].size()));
        Put32(out, offset);
        offset += static_cast<unsigned>(images[i].size());
    }
    for (const auto &img : images)
        out.insert(out.end(), img.begin(), img.end());

    std::FILE *f = std::fopen(argv[1], "wb");
    if (f == nullptr || std::fwrite(out.data(), 1, out.size(), f) != out.size() ||
        std::fclose(f) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
