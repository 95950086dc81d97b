// The version resource and manifest of the two shipped executables, read back as Windows reads them.
#include "app/ProgramVersion.h"
#include "kova/Encoding.h"
#include "kova/File.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using vivu::kVersion;

namespace {

// The executables are built into the same folder as this test.
std::wstring Executable(const char* name) {
    return kova::Utf8ToWide(kova::PathJoin(kova::PathGetCurrentDir(), name));
}

class VersionResource : public ::testing::TestWithParam<const char*> {};

TEST_P(VersionResource, CarriesTheProgramVersion) {
    const std::wstring path = Executable(GetParam());
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    ASSERT_GT(size, 0u) << GetParam() << " has no version resource";
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, data.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(VIVU_VERSION_MINOR, VIVU_VERSION_MAJOR)));
    EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(MAKELONG(0, VIVU_VERSION_PATCH)));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);

    WORD* translation = nullptr;
    ASSERT_TRUE(
        VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
    wchar_t block[64];
    swprintf(block, 64, L"\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
    auto value = [&](const wchar_t* name) {
        wchar_t* text = nullptr;
        UINT chars = 0;
        const std::wstring key = block + std::wstring(name);
        if (!VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void**>(&text), &chars) || !text)
            return std::string();
        return kova::WideToUtf8(text);
    };
    EXPECT_EQ(value(L"FileVersion"), kVersion);
    EXPECT_EQ(value(L"ProductVersion"), kVersion);
    EXPECT_EQ(value(L"CompanyName"), "KOVA");
    EXPECT_EQ(value(L"ProductName"), "KOVA.Json助手");
    EXPECT_NE(value(L"FileDescription").find("KOVA.Json助手"), std::string::npos);
    EXPECT_EQ(value(L"OriginalFilename"), GetParam());
}

INSTANTIATE_TEST_SUITE_P(ShippedExecutables, VersionResource, ::testing::Values("kova-json.exe", "kovajson.exe"));

// Common controls 6 and the other settings of the manifest still reach the program.
TEST(ProgramManifest, IsKeptBesideTheVersion) {
    HMODULE module = LoadLibraryExW(Executable("kova-json.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)); // RT_MANIFEST
    ASSERT_NE(resource, nullptr);
    const char* text = static_cast<const char*>(LockResource(LoadResource(module, resource)));
    const std::string manifest(text, SizeofResource(module, resource));
    FreeLibrary(module);
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find(std::string("version=\"") + kVersion + ".0\""), std::string::npos) << manifest;
}

} // namespace
