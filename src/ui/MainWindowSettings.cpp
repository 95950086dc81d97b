// The main window's side of the settings and buffer files: it carries out what the session decides,
// and records its place as it moves.
#include "app/Settings.h"
#include "kova/Encoding.h"
#include "kova/JList.h"
#include "ui/MainWindow.h"
#include "ui/MonitorPlacement.h"

namespace vivu {

namespace {
constexpr int kPlacementNormal = 0, kPlacementMinimised = 2, kPlacementMaximised = 3;
} // namespace

int MainWindow::Placement() const {
    if (IsIconic(Handle())) return kPlacementMinimised;
    if (IsZoomed(Handle())) return kPlacementMaximised;
    return kPlacementNormal;
}

void MainWindow::SetSourceIndex(int index) {
    HWND combo = Control(MainControl::组合框_数据源);
    SendMessageW(combo, CB_SETCURSEL, index, 0);
    OnCommand(static_cast<int>(MainControl::组合框_数据源), CBN_SELCHANGE, combo);
}

ScreenArea MainWindow::WorkAreaOf(const WindowRect& rect) {
    return WorkAreaNear(rect);
}

void MainWindow::PlaceWindow(const std::optional<WindowRect>& rect, bool maximised) {
    if (rect) MoveToSavedPlace({rect->left, rect->top, rect->left + rect->width, rect->top + rect->height});
    // A maximised window opens maximised; otherwise the restored rectangle stays where it was.
    startMaximised_ = maximised;
}

SourceBoxes MainWindow::ReadSourceBoxes() {
    return {Text(MainControl::编辑框_网址), Text(MainControl::编辑框_文件路径),
            static_cast<int>(SendMessageW(Control(MainControl::组合框_数据源), CB_GETCURSEL, 0, 0)),
            SendMessageW(Control(MainControl::选择框_结果_全部展开), BM_GETCHECK, 0, 0) == BST_CHECKED};
}

void MainWindow::ShowSourceBoxes(const SourceBoxes& boxes) {
    SetText(MainControl::编辑框_网址, boxes.web);
    SetText(MainControl::编辑框_文件路径, boxes.file);
    SetSourceIndex(boxes.sourceIndex);
    SendMessageW(Control(MainControl::选择框_结果_全部展开), BM_SETCHECK, boxes.expandAll ? BST_CHECKED : BST_UNCHECKED,
                 0);
}

void MainWindow::LoadFileSource() {
    LoadFromFile();
}

bool MainWindow::Ask(const std::string& text, const std::string& title) {
    return MessageBoxW(Handle(), kova::Utf8ToWide(text).c_str(), kova::Utf8ToWide(title).c_str(),
                       MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
}

void MainWindow::RecordStatusAndRectangle() {
    const int placement = Placement();
    if (placement == kPlacementNormal || placement == kPlacementMaximised)
        objects_.settings->Setter("//Form.Status", kova::Value::Integer(placement));
    RecordRectangle();
}

void MainWindow::RecordRectangle() {
    if (Placement() != kPlacementNormal) return; // minimised and maximised windows keep the last normal rectangle
    RECT r{};
    GetWindowRect(Handle(), &r);
    objects_.settings->SetList(
        "//Form.Position",
        kova::CreateStoreList({kova::Value::Integer(r.left), kova::Value::Integer(r.top),
                               kova::Value::Integer(r.right - r.left), kova::Value::Integer(r.bottom - r.top)}));
}

} // namespace vivu
