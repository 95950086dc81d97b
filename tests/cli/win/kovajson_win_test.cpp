// kovajson.exe as a Windows console program: bytes out untranslated, wide file names, exit codes.
#include "kova/Encoding.h"
#include "kova/File.h"
#include "support/RewrittenText.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

using namespace vivu;

namespace {

struct Result {
    DWORD status = 0xFFFFFFFF;
    std::string out, err;
};

std::wstring BinDir() {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

HANDLE Inheritable(const std::wstring& path, bool write) {
    SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
    return CreateFileW(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                       write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Runs kovajson.exe with the arguments (a command line tail) and stdinPath as standard input.
Result RunKovajson(const std::wstring& args, const std::wstring& dir, const std::wstring& stdinPath) {
    const std::wstring outPath = dir + L"\\out", errPath = dir + L"\\err";
    HANDLE in = Inheritable(stdinPath, false), out = Inheritable(outPath, true), err = Inheritable(errPath, true);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = in;
    si.hStdOutput = out;
    si.hStdError = err;
    std::wstring command = L"\"" + BinDir() + L"kovajson.exe\" " + args;
    PROCESS_INFORMATION pi{};
    Result result;
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi)) {
        WaitForSingleObject(pi.hProcess, 60000);
        GetExitCodeProcess(pi.hProcess, &result.status);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    CloseHandle(in);
    CloseHandle(out);
    CloseHandle(err);
    kova::ReadFileBytes(kova::WideToUtf8(outPath), result.out);
    kova::ReadFileBytes(kova::WideToUtf8(errPath), result.err);
    return result;
}

} // namespace

TEST(KovajsonExe, WritesTheCommandsTextAsBytes) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring dir = std::wstring(temp) + L"kovajson-测试";
    CreateDirectoryW(dir.c_str(), nullptr);
    const std::string json = "{\"名字\": [\"汉字\", 1.5, {\"a.b\": null}], \"空\": {}}";
    const std::wstring gbkFile = dir + L"\\数据.json";
    ASSERT_TRUE(kova::WriteFileBytes(kova::WideToUtf8(gbkFile), kova::ConvertStringEncoding(json, "UTF-8", "GBK")));
    const std::wstring none = dir + L"\\none.json";
    ASSERT_TRUE(kova::WriteFileBytes(kova::WideToUtf8(none), ""));

    const Result compress = RunKovajson(L"compress \"" + gbkFile + L"\"", dir, none);
    EXPECT_EQ(compress.status, 0u) << compress.err;
    EXPECT_EQ(compress.out, test::RewrittenText(json, 1) + "\n");

    // Format's CR LF line breaks stay as they are, and the last LF gets no CR.
    const Result format = RunKovajson(L"format -", dir, gbkFile);
    EXPECT_EQ(format.status, 0u) << format.err;
    EXPECT_EQ(format.out, test::RewrittenText(json, 0) + "\n");
    EXPECT_NE(format.out.find("\r\n"), std::string::npos);

    const Result notJson = RunKovajson(L"tree -", dir, none);
    EXPECT_EQ(notJson.status, 1u);
    EXPECT_EQ(notJson.err, std::string(kUnknownJsonType) + "\n");
    EXPECT_EQ(notJson.out, "");

    DeleteFileW(gbkFile.c_str());
    DeleteFileW(none.c_str());
    DeleteFileW((dir + L"\\out").c_str());
    DeleteFileW((dir + L"\\err").c_str());
    RemoveDirectoryW(dir.c_str());
}
