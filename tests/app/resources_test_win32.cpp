// The built resources: dialog template 102, pictures, icon, own texts, the language libraries'
// texts and the version resources, read back from Tarnix.exe and QuvaStrings_XXX.dll.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/driver_version.h"
#include "resources/resource_ids.h"
#include "tarnix_version.h"

namespace {

std::wstring TarnixPath, LanguageFolder;

// A path given by CTest as a Unix path, as Wine sees it.
std::wstring WindowsPath(const char* path) {
    std::wstring wide(path, path + strlen(path));
    return wide.size() > 0 && wide[0] == L'/' ? L"Z:" + wide : wide;
}

struct Module {
    explicit Module(const std::wstring& path)
        : Handle(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~Module() {
        if (Handle != nullptr) FreeLibrary(Handle);
    }
    HMODULE Handle;
};

std::wstring Text(HMODULE module, UINT id) {
    wchar_t buffer[1024] = {};
    LoadStringW(module, id, buffer, 1024);
    return buffer;
}

const unsigned char* ResourceBytes(HMODULE module, LPCWSTR type, UINT id, DWORD* size) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (found == nullptr) return nullptr;
    *size = SizeofResource(module, found);
    return static_cast<const unsigned char*>(LockResource(LoadResource(module, found)));
}

// Reads the extended dialog template: header, then menu, class, title, font and items.
struct DialogReader {
    const unsigned char* At;
    template <typename T>
    T Next() {
        T value;
        memcpy(&value, At, sizeof(T));
        At += sizeof(T);
        return value;
    }
    std::wstring String() {
        std::wstring text;
        if (*reinterpret_cast<const WORD*>(At) == 0xFFFF) {
            At += 4;
            return L"#";
        }
        while (WORD c = Next<WORD>()) text += wchar_t(c);
        return text;
    }
    void AlignDword(const unsigned char* base) {
        while ((At - base) % 4) ++At;
    }
};

}  // namespace

TEST(DialogTemplate, ExactStylesSizeFontAndButtons) {
    Module exe(TarnixPath);
    ASSERT_NE(exe.Handle, nullptr);
    DWORD size = 0;
    const unsigned char* base = ResourceBytes(exe.Handle, RT_DIALOG, IDD_CALIBRATION, &size);
    ASSERT_NE(base, nullptr);
    DialogReader r{base};
    EXPECT_EQ(r.Next<WORD>(), 1);       // version
    EXPECT_EQ(r.Next<WORD>(), 0xFFFF);  // extended template
    r.Next<DWORD>();                    // help id
    EXPECT_EQ(r.Next<DWORD>(), DWORD(WS_EX_TOPMOST));
    DWORD style = r.Next<DWORD>();
    EXPECT_EQ(style, DWORD(WS_POPUP | WS_VISIBLE | DS_SETFOREGROUND | DS_SETFONT | DS_FIXEDSYS));
    ASSERT_EQ(r.Next<WORD>(), 2);  // items
    EXPECT_EQ(r.Next<short>(), 0);
    EXPECT_EQ(r.Next<short>(), 0);
    EXPECT_EQ(r.Next<short>(), 320);
    EXPECT_EQ(r.Next<short>(), 200);
    EXPECT_EQ(r.String(), L"");  // menu
    EXPECT_EQ(r.String(), L"");  // class
    EXPECT_EQ(r.String(), L"");  // title
    EXPECT_EQ(r.Next<WORD>(), 8);
    r.Next<WORD>();  // weight
    r.Next<BYTE>();  // italic
    r.Next<BYTE>();  // charset
    EXPECT_EQ(r.String(), L"MS Shell Dlg");
    const struct {
        DWORD Id;
        short X, Y, W, H;
        const wchar_t* Text;
    } buttons[] = {{IDC_ACCEPT, 118, 124, 44, 34, L"Accept"},
                   {IDC_RETRY, 168, 125, 43, 34, L"Retry"}};
    for (const auto& b : buttons) {
        r.AlignDword(base);
        r.Next<DWORD>();  // help id
        EXPECT_EQ(r.Next<DWORD>(), 0u);
        EXPECT_EQ(r.Next<DWORD>(), DWORD(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_BITMAP));
        EXPECT_EQ(r.Next<short>(), b.X);
        EXPECT_EQ(r.Next<short>(), b.Y);
        EXPECT_EQ(r.Next<short>(), b.W);
        EXPECT_EQ(r.Next<short>(), b.H);
        EXPECT_EQ(r.Next<DWORD>(), b.Id);
        EXPECT_EQ(r.String(), L"#");  // the button class by atom
        EXPECT_EQ(r.String(), b.Text);
        r.At += 2 + *reinterpret_cast<const WORD*>(r.At);  // creation data
    }
}

TEST(Pictures, ButtonBitmapsAndIcon) {
    Module exe(TarnixPath);
    ASSERT_NE(exe.Handle, nullptr);
    for (UINT id : {IDB_ACCEPT, IDB_RETRY}) {
        DWORD size = 0;
        const auto* info = reinterpret_cast<const BITMAPINFOHEADER*>(
            ResourceBytes(exe.Handle, RT_BITMAP, id, &size));
        ASSERT_NE(info, nullptr) << id;
        EXPECT_EQ(info->biWidth, 65);
        EXPECT_EQ(info->biHeight, 56);
        EXPECT_EQ(info->biBitCount, 4);
    }
    DWORD size = 0;
    const unsigned char* group = ResourceBytes(exe.Handle, RT_GROUP_ICON, IDI_TARNIX, &size);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group[6], 32);  // width of the first entry
    EXPECT_EQ(group[7], 32);
    EXPECT_EQ(group[8], 16);  // colours
}

TEST(OwnTexts, StringTable130To133) {
    Module exe(TarnixPath);
    EXPECT_EQ(Text(exe.Handle, IDS_NO_TOUCH_SCREEN), L"There is no Touchscreen found.");
    EXPECT_EQ(Text(exe.Handle, IDS_NO_TOUCH_SCREEN_CAPTION), L"Tarnix - Calibration");
    EXPECT_EQ(Text(exe.Handle, IDS_ACCEPT_CAPTION), L"Accept");
    EXPECT_EQ(Text(exe.Handle, IDS_RETRY_CAPTION), L"Retry");
    EXPECT_EQ(Text(exe.Handle, IDS_INSTRUCTION), L"");  // only the language libraries have it
}

TEST(LanguageLibraries, EveryTextOfEveryLanguage) {
    const UINT ids[] = {130, 131, 197, 198, 199, 200, 428, 431, 432, 452, 460, 461, 462,
                        463, 464, 465, 466, 467, 469, 470, 471, 472, 473, 474, 475, 480,
                        481, 482, 483, 484, 485, 486, 487, 488, 490, 491, 495, 500, 501,
                        502, 503, 504, 505, 506, 507, 508, 510, 511, 512};
    for (const wchar_t* suffix : {L"ENG", L"FRE", L"GER", L"ITA", L"SPA", L"JAP", L"CHI", L"MDN"}) {
        Module library(LanguageFolder + L"\\QuvaStrings_" + suffix + L".dll");
        ASSERT_NE(library.Handle, nullptr) << suffix;
        for (UINT id : ids) {
            std::wstring text = Text(library.Handle, id);
            EXPECT_FALSE(text.empty()) << suffix << " " << id;
            size_t conversions = 0;
            for (size_t at = text.find(L'%'); at != std::wstring::npos;
                 at = text.find(L'%', at + 1))
                ++conversions;
            const bool needsNumber = id == 428 || id == 452;
            const bool needsTwoWords = id == IDS_FIT_TOUCH_FIGURES || id == IDS_REFUSED_RESIDUAL ||
                                       id == IDS_REFUSED_SCATTER || id == IDS_REFUSED_EXPECTED ||
                                       id == IDS_DRIFT || id == IDS_GLASS_FROM_FILE ||
                                       id == IDS_CHECKED_AT;
            const bool needsThreeWords = id == IDS_FIT_EXPECTED;
            const bool needsOneWord =
                id == IDS_DRIFT_WARNING ||
                (id >= IDS_REFUSED_CHECK_FIRST && id <= IDS_REFUSED_CHECK_FIRST + 8);
            EXPECT_EQ(conversions, needsNumber || needsOneWord ? 1u
                                   : needsTwoWords             ? 2u
                                   : needsThreeWords           ? 3u
                                                               : 0u)
                << suffix << id;
            if (needsNumber) {
                EXPECT_NE(text.find(L"%d"), std::wstring::npos) << suffix << id;
            }
            if (needsTwoWords) {
                const size_t first = text.find(L"%s");
                ASSERT_NE(first, std::wstring::npos) << suffix << id;
                EXPECT_NE(text.find(L"%s", first + 2), std::wstring::npos) << suffix << id;
            }
        }
        EXPECT_NE(Text(library.Handle, 131).find(L"Tarnix"), std::wstring::npos) << suffix;
    }
    Module french(LanguageFolder + L"\\QuvaStrings_FRE.dll");
    EXPECT_EQ(Text(french.Handle, 431), L"Accepter");
}

TEST(VersionResources, ProgramAndLibrariesCarryOne) {
    std::wstring version;
    EXPECT_TRUE(ReadProductVersion(TarnixPath, version));
    EXPECT_EQ(version, L"" TARNIX_VERSION_TEXT);
    EXPECT_TRUE(ReadProductVersion(LanguageFolder + L"\\QuvaStrings_JAP.dll", version));
    EXPECT_EQ(version, L"" TARNIX_VERSION_TEXT);
    EXPECT_FALSE(ReadProductVersion(LanguageFolder + L"\\no-such-library.dll", version));
    EXPECT_TRUE(version.empty());
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc < 3) {
        fprintf(stderr, "usage: app_resources_test Tarnix.exe language-folder\n");
        return 2;
    }
    TarnixPath = WindowsPath(argv[1]);
    LanguageFolder = WindowsPath(argv[2]);
    return RUN_ALL_TESTS();
}
