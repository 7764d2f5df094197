#include "saverfixture.h"

#include <cstdio>
#include <vector>

namespace {

std::vector<unsigned char> ReadFile(const std::string& path) {
    std::vector<unsigned char> bytes;
    FILE* in = std::fopen(path.c_str(), "rb");
    if (!in)
        return bytes;
    unsigned char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    std::fclose(in);
    return bytes;
}

TEST(SaverProgram, IsA32BitWindowsGuiProgram) {
    std::vector<unsigned char> image = ReadFile(ui::DistFile("quillsav.scr"));
    ASSERT_GT(image.size(), 0x200u);
    ASSERT_EQ(image[0], 'M');
    ASSERT_EQ(image[1], 'Z');
    std::size_t pe = image[0x3C] | (image[0x3D] << 8) | (image[0x3E] << 16);
    ASSERT_LT(pe + 0x60, image.size());
    EXPECT_EQ(std::string(image.begin() + pe, image.begin() + pe + 4), std::string("PE\0\0", 4));
    EXPECT_EQ(image[pe + 4] | (image[pe + 5] << 8), IMAGE_FILE_MACHINE_I386);
    std::size_t optional = pe + 24;
    EXPECT_EQ(image[optional] | (image[optional + 1] << 8), IMAGE_NT_OPTIONAL_HDR32_MAGIC);
    EXPECT_EQ(image[optional + 68] | (image[optional + 69] << 8), IMAGE_SUBSYSTEM_WINDOWS_GUI);
}

TEST(SaverProgram, CarriesItsDisplayNameIconAndVersion) {
    std::string path = ui::DistFile("quillsav.scr");
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    char name[128] = "";
    EXPECT_GT(LoadStringA(module, 1, name, sizeof name), 0);
    EXPECT_STREQ(name, "Quillo Screen Saver 97");
    EXPECT_NE(FindResourceA(module, "MAINICON", MAKEINTRESOURCEA(14)), nullptr) << "icon group";
    FreeLibrary(module);

    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);

    struct {
        WORD language;
        WORD codePage;
    }* translation = nullptr;
    UINT translationSize = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &translationSize));
    char block[64];
    std::snprintf(block, sizeof block, "\\StringFileInfo\\%04x%04x\\", translation->language,
                  translation->codePage);
    const struct {
        const char* name;
        const char* value;
    } strings[] = {
        {"FileVersion", "2.00"},
        {"FileDescription", "Quillo Screen Saver 97"},
        {"InternalName", "Quillo Screen Saver 97"},
        {"OriginalFilename", "Quillo Screen Saver 97.scr"},
        {"CompanyName", "Korvane Software"},
    };
    for (const auto& s : strings) {
        char* value = nullptr;
        UINT length = 0;
        std::string query = std::string(block) + s.name;
        ASSERT_TRUE(
            VerQueryValueA(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &length))
            << s.name;
        EXPECT_STREQ(value, s.value) << s.name;
    }
}

} // namespace
