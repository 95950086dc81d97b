// A real MainWindow over real process objects, with its settings and buffer files in a
// temporary directory of its own, for tests of the whole window.
#pragma once

#include "app/ProcessObjects.h"
#include "kova/Encoding.h"
#include "ui/MainWindow.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace vivu::test {

class MainWindowHarness : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("kova-main-files-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        Close();
        std::filesystem::remove_all(dir_);
    }
    // programDir: where the settings and buffer files live (the temporary directory when empty);
    // userDataDir: where they go when programDir cannot be written (nowhere when empty);
    // scintillaName: the editing component's library, to start without one.
    void Open(const std::string& programDir = "", const std::string& userDataDir = "",
              const wchar_t* scintillaName = nullptr) {
        objects_ = std::make_unique<ProcessObjects>();
        objects_->programDir = programDir.empty() ? dir_.string() : programDir;
        objects_->userDataDir = userDataDir;
        if (scintillaName) objects_->component.scintillaName = scintillaName;
        objects_->startFile = startFile_;
        objects_->Create();
        window_ = std::make_unique<MainWindow>(*objects_);
        ASSERT_TRUE(window_->Create(SW_SHOWNOACTIVATE));
        Pump();
    }
    void Close() {
        if (!window_) return;
        DestroyWindow(window_->Handle());
        Pump(); // also drains the WM_QUIT the window posts
        window_.reset();
        objects_.reset();
    }
    static void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    std::string Text(MainControl id) {
        wchar_t buffer[4096] = {};
        GetWindowTextW(window_->Control(id), buffer, 4096);
        return kova::WideToUtf8(buffer);
    }
    void SetText(MainControl id, const std::string& text) {
        SetWindowTextW(window_->Control(id), kova::Utf8ToWide(text).c_str());
    }
    void SelectSource(int index) {
        HWND combo = window_->Control(MainControl::组合框_数据源);
        SendMessageW(combo, CB_SETCURSEL, index, 0);
        SendMessageW(window_->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo));
    }
    std::string EditorText() { return objects_->mainEditor->GetText(objects_->mainEditor->GetLength() + 1); }
    std::string Path(const char* name) { return (dir_ / name).string(); }

    std::filesystem::path dir_;
    std::string startFile_; // the file named on the command line at the next Open
    std::unique_ptr<ProcessObjects> objects_;
    std::unique_ptr<MainWindow> window_;
};

} // namespace vivu::test
