// Opening a file the Windows way: named on the command line or dropped on the main window.
#include "kova/Encoding.h"
#include "ui/MainWindow.h"

#include <shellapi.h>

namespace vivu {

namespace {
constexpr int kFileSourceIndex = 2;
}

void MainWindow::OpenFile(const std::string& path) {
    SetSourceIndex(kFileSourceIndex);
    SetText(MainControl::编辑框_文件路径, path);
    if (LoadFromFile()) ParseCommand(); // the result page with the file's tree, as after "解析"
}

void MainWindow::OnDropFiles(HDROP drop) {
    // Of several files, the first: one document at a time.
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    std::wstring name(length + 1, L'\0');
    name.resize(DragQueryFileW(drop, 0, name.data(), length + 1));
    DragFinish(drop);
    if (!name.empty()) OpenFile(kova::WideToUtf8(name));
}

} // namespace vivu
