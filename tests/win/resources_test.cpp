// The resources and the file format of the built gvncfg.exe, read back field by field.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "program_path.h"
#include "resources/resource.h"

namespace
{

const WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
// The resource types, as the wide calls take them.
const LPCWSTR kIcon = MAKEINTRESOURCEW(3);
const LPCWSTR kDialog = MAKEINTRESOURCEW(5);
const LPCWSTR kGroupIcon = MAKEINTRESOURCEW(14);

class ResourcesTest : public ::testing::Test
{
  protected:
    static void SetUpTestSuite()
    {
        module_ = LoadLibraryExA(gProgramPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << gProgramPath;
    }
    static void TearDownTestSuite() { FreeLibrary(module_); }

    // The bytes of one resource in Japanese; empty if there is none.
    static std::vector<BYTE> Resource(LPCWSTR type, WORD id)
    {
        HRSRC r = FindResourceExW(module_, type, MAKEINTRESOURCEW(id), kJapanese);
        if (r == nullptr)
            return {};
        const BYTE *p = static_cast<const BYTE *>(LockResource(LoadResource(module_, r)));
        return std::vector<BYTE>(p, p + SizeofResource(module_, r));
    }

    static HMODULE module_;
};

HMODULE ResourcesTest::module_;

BOOL CALLBACK AddType(HMODULE, LPWSTR type, LONG_PTR set)
{
    reinterpret_cast<std::set<ULONG_PTR> *>(set)->insert(reinterpret_cast<ULONG_PTR>(type));
    return TRUE;
}

BOOL CALLBACK AddName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR set)
{
    reinterpret_cast<std::set<ULONG_PTR> *>(set)->insert(reinterpret_cast<ULONG_PTR>(name));
    return TRUE;
}

BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD lang, LONG_PTR set)
{
    reinterpret_cast<std::set<ULONG_PTR> *>(set)->insert(lang);
    return TRUE;
}

// Reads the classic template's fields in order.
struct Reader {
    const std::vector<BYTE> &b;
    size_t at = 0;
    WORD Word()
    {
        WORD w = 0;
        if (at + 2 <= b.size())
            std::memcpy(&w, &b[at], 2);
        at += 2;
        return w;
    }
    DWORD Dword()
    {
        DWORD lo = Word();
        return lo | static_cast<DWORD>(Word()) << 16;
    }
    short Short() { return static_cast<short>(Word()); }
    std::wstring String()
    {
        std::wstring s;
        for (WORD w = Word(); w != 0 && at <= b.size(); w = Word())
            s += static_cast<wchar_t>(w);
        return s;
    }
    void AlignDword() { at = (at + 3) & ~size_t{3}; }
};

struct Control {
    DWORD style;
    short x, y, cx, cy;
    WORD id;
    WORD classAtom;
    std::wstring text;
    bool operator==(const Control &) const = default;
};

std::ostream &operator<<(std::ostream &os, const Control &c)
{
    return os << "id " << c.id << " class " << std::hex << c.classAtom << " style " << c.style
              << std::dec << " at " << c.x << "," << c.y << " " << c.cx << "x" << c.cy
              << " text length " << c.text.size();
}

TEST_F(ResourcesTest, SettingsDialogTemplateIsExactlyTheTable)
{
    std::vector<BYTE> b = Resource(kDialog, IDD_SETTINGS);
    ASSERT_FALSE(b.empty());
    Reader r{b};
    ASSERT_NE(reinterpret_cast<const WORD *>(b.data())[1], 0xFFFF) << "an extended template";

    EXPECT_EQ(r.Dword(),
              static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT));
    EXPECT_EQ(r.Dword(), 0u) << "extended style";
    WORD count = r.Word();
    EXPECT_EQ(count, 21);
    EXPECT_EQ(r.Short(), 0);
    EXPECT_EQ(r.Short(), 0);
    EXPECT_EQ(r.Short(), 198);
    EXPECT_EQ(r.Short(), 221);
    EXPECT_EQ(r.Word(), 0) << "menu";
    EXPECT_EQ(r.Word(), 0) << "class";
    EXPECT_EQ(r.String(), L"GALVORN Ver1.90 システム設定メニュー");
    EXPECT_EQ(r.Word(), 9) << "point size";
    EXPECT_EQ(r.String(), L"ＭＳ Ｐゴシック");

    const WORD button = 0x0080, stat = 0x0082, none = 0xFFFF;
    const DWORD radio = WS_CHILD | WS_VISIBLE | WS_GROUP | BS_AUTORADIOBUTTON;
    const DWORD group = WS_CHILD | WS_VISIBLE | BS_GROUPBOX;
    const std::vector<Control> expected = {
        {WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 127, 163, 50, 14, 1, button, L"OK"},
        {WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 127, 187, 50, 14, 2, button, L"ｷｬﾝｾﾙ"},
        {WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT, 38, 13, 121, 12, none, stat,
         L"ＧＡＬＶＯＲＮ Ｖｅｒ１．90"},
        {radio, 18, 62, 110, 10, 1001, button, L"６４０＊４８０  （Mode X EMULATE）"},
        {radio, 18, 87, 112, 10, 1000, button, L"３２０＊２４０ ModeX         （FAST）"},
        {group, 13, 50, 121, 52, none, button, L"画面モード"},
        {group, 7, 36, 184, 178, none, button, L"システム設定"},
        {radio, 143, 74, 35, 11, 1004, button, L"不使用"},
        {radio, 143, 62, 30, 10, 1003, button, L"使用"},
        {group, 139, 50, 45, 40, none, button, L"半透明処理"},
        {WS_CHILD | BS_PUSHBUTTON, 20, 187, 50, 14, 1010, button, L"ハイスコアクリア"},
        {radio, 18, 74, 110, 11, 1002, button, L"６４０＊４８０          （NO EFFECT）"},
        {radio, 17, 132, 55, 11, 1006, button, L"２フレームごと"},
        {radio, 17, 120, 47, 10, 1005, button, L"フル描画"},
        {group, 13, 108, 61, 40, none, button, L"描画レート"},
        {radio, 81, 132, 45, 11, 1008, button, L"簡略表示"},
        {radio, 81, 120, 45, 10, 1007, button, L"フル描画"},
        {group, 77, 108, 57, 40, none, button, L"背景処理"},
        {radio, 143, 132, 35, 11, 1012, button, L"不使用"},
        {radio, 143, 120, 30, 10, 1011, button, L"使用"},
        {group, 139, 108, 45, 40, none, button, L"サウンド"},
    };
    std::vector<Control> got;
    for (WORD i = 0; i < count && r.at < b.size(); i++) {
        r.AlignDword();
        Control c{};
        c.style = r.Dword();
        EXPECT_EQ(r.Dword(), 0u) << "extended style of control " << i;
        c.x = r.Short();
        c.y = r.Short();
        c.cx = r.Short();
        c.cy = r.Short();
        c.id = r.Word();
        EXPECT_EQ(r.Word(), 0xFFFF) << "class of control " << i << " is a string, not an atom";
        c.classAtom = r.Word();
        c.text = r.String();
        EXPECT_EQ(r.Word(), 0) << "creation data of control " << i;
        got.push_back(c);
    }
    EXPECT_EQ(r.at, b.size()) << "bytes after the last control";
    ASSERT_EQ(got.size(), expected.size());
    for (size_t i = 0; i < got.size(); i++)
        EXPECT_EQ(got[i], expected[i]) << "control " << i + 1;
}

TEST_F(ResourcesTest, IconImagesAndGroup)
{
    std::vector<BYTE> g = Resource(kGroupIcon, IDI_GVNCFG);
    ASSERT_EQ(g.size(), 6u + 2 * 14);
    Reader r{g};
    EXPECT_EQ(r.Word(), 0);
    EXPECT_EQ(r.Word(), 1) << "icon, not cursor";
    EXPECT_EQ(r.Word(), 2);
    struct Entry {
        WORD id, bits;
        BYTE colours;
    };
    for (const Entry &e : {Entry{1, 4, 16}, Entry{2, 8, 0}}) {
        SCOPED_TRACE(e.id);
        EXPECT_EQ(g[r.at], 32);
        EXPECT_EQ(g[r.at + 1], 32);
        EXPECT_EQ(g[r.at + 2], e.colours);
        r.at += 4;
        EXPECT_EQ(r.Word(), 1) << "planes";
        EXPECT_EQ(r.Word(), e.bits);
        DWORD size = r.Dword();
        EXPECT_EQ(r.Word(), e.id);

        std::vector<BYTE> img = Resource(kIcon, e.id);
        ASSERT_EQ(img.size(), size);
        BITMAPINFOHEADER bi;
        ASSERT_GE(img.size(), sizeof bi);
        std::memcpy(&bi, img.data(), sizeof bi);
        EXPECT_EQ(bi.biWidth, 32);
        EXPECT_EQ(bi.biHeight, 64) << "colour image and mask";
        EXPECT_EQ(bi.biBitCount, e.bits);
        HICON icon = CreateIconFromResourceEx(img.data(), size, TRUE, 0x00030000, 32, 32, 0);
        EXPECT_NE(icon, nullptr) << "not an icon Windows can load";
        DestroyIcon(icon);
    }
}

// Every resource is one of the above, in Japanese; in particular there is no manifest.
TEST_F(ResourcesTest, NothingElseAndAllJapanese)
{
    std::set<ULONG_PTR> types;
    EnumResourceTypesW(module_, AddType, reinterpret_cast<LONG_PTR>(&types));
    const std::set<ULONG_PTR> expectedTypes = {reinterpret_cast<ULONG_PTR>(kIcon),
                                               reinterpret_cast<ULONG_PTR>(kDialog),
                                               reinterpret_cast<ULONG_PTR>(kGroupIcon)};
    EXPECT_EQ(types, expectedTypes);

    struct Names {
        LPCWSTR type;
        std::set<ULONG_PTR> ids;
    };
    for (const Names &n :
         {Names{kIcon, {1, 2}}, Names{kDialog, {IDD_SETTINGS}}, Names{kGroupIcon, {IDI_GVNCFG}}}) {
        SCOPED_TRACE(reinterpret_cast<ULONG_PTR>(n.type));
        std::set<ULONG_PTR> ids;
        EnumResourceNamesW(module_, n.type, AddName, reinterpret_cast<LONG_PTR>(&ids));
        EXPECT_EQ(ids, n.ids);
        for (ULONG_PTR id : n.ids) {
            std::set<ULONG_PTR> langs;
            EnumResourceLanguagesW(module_, n.type, MAKEINTRESOURCEW(id), AddLanguage,
                                   reinterpret_cast<LONG_PTR>(&langs));
            EXPECT_EQ(langs, std::set<ULONG_PTR>{kJapanese}) << "resource " << id;
        }
    }
}

// A 32-bit GUI program that a clean Windows can start, and that it does not take for an
// installer.
TEST(ProgramFile, Pe32GuiImportingOnlySystemDlls)
{
    std::ifstream in(gProgramPath, std::ios::binary);
    std::vector<BYTE> f((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(f.size(), sizeof(IMAGE_DOS_HEADER));
    IMAGE_DOS_HEADER dos;
    std::memcpy(&dos, f.data(), sizeof dos);
    ASSERT_EQ(dos.e_magic, IMAGE_DOS_SIGNATURE);
    IMAGE_NT_HEADERS32 nt;
    ASSERT_LE(dos.e_lfanew + sizeof nt, f.size());
    std::memcpy(&nt, &f[dos.e_lfanew], sizeof nt);
    EXPECT_EQ(nt.Signature, IMAGE_NT_SIGNATURE);
    EXPECT_EQ(nt.FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
    EXPECT_EQ(nt.OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR32_MAGIC);
    EXPECT_EQ(nt.OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);

    // Imported DLL names, found through the section that holds each address.
    size_t sections = dos.e_lfanew + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) +
                      nt.FileHeader.SizeOfOptionalHeader;
    auto offsetOf = [&](DWORD rva) -> size_t {
        for (WORD i = 0; i < nt.FileHeader.NumberOfSections; i++) {
            IMAGE_SECTION_HEADER s;
            std::memcpy(&s, &f[sections + i * sizeof s], sizeof s);
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.Misc.VirtualSize)
                return rva - s.VirtualAddress + s.PointerToRawData;
        }
        return f.size();
    };
    std::set<std::string> dlls;
    size_t at =
        offsetOf(nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
    for (; at + sizeof(IMAGE_IMPORT_DESCRIPTOR) <= f.size();
         at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        IMAGE_IMPORT_DESCRIPTOR d;
        std::memcpy(&d, &f[at], sizeof d);
        if (d.Name == 0)
            break;
        std::string name(reinterpret_cast<const char *>(&f[offsetOf(d.Name)]));
        std::transform(name.begin(), name.end(), name.begin(), ::toupper);
        dlls.insert(name);
    }
    const std::set<std::string> allowed = {"KERNEL32.DLL", "USER32.DLL", "GDI32.DLL", "MSVCRT.DLL"};
    EXPECT_TRUE(std::includes(allowed.begin(), allowed.end(), dlls.begin(), dlls.end()));
    EXPECT_TRUE(dlls.count("USER32.DLL") && dlls.count("KERNEL32.DLL"));

    std::string name = gProgramPath.substr(gProgramPath.find_last_of("/\\") + 1);
    std::transform(name.begin(), name.end(), name.begin(), ::tolower);
    for (const char *word : {"setup", "install", "update", "patch"})
        EXPECT_EQ(name.find(word), std::string::npos) << name;
}

} // namespace
