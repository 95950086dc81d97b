// The main window's side of the settings and buffer files: restore, record, save.
#include "app/Settings.h"
#include "app/SettingsLocation.h"
#include "kova/CreateString.h"
#include "kova/Encoding.h"
#include "kova/File.h"
#include "kova/JList.h"
#include "ui/MainWindow.h"
#include "ui/MonitorPlacement.h"

namespace vivu {

namespace {
constexpr int kPlacementNormal = 0, kPlacementMinimised = 2, kPlacementMaximised = 3;
const char* const kSourceTypes[] = {"Clipboard", "Web", "File"};
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

void MainWindow::Restore() {
    const std::string dir = objects_.programDir.empty() ? kova::PathGetCurrentDir() : objects_.programDir;
    const SettingsLocation location = ChooseSettingsLocation(dir, objects_.userDataDir);
    objects_.bufferPath = location.bufferPath;
    objects_.settingsPath = location.settingsPath;
    kova::JMap& settings = *objects_.settings;
    if (LoadSettings(objects_.settingsPath, settings) != SettingsLoad::Loaded) return;

    if (auto r = RestoredRect(settings, WorkAreaNear))
        MoveToSavedPlace({r->left, r->top, r->left + r->width, r->top + r->height});
    // A maximised window opens maximised; otherwise the restored rectangle stays where it was.
    startMaximised_ = settings.GetInt("//Form.Status") == kPlacementMaximised;

    SetText(MainControl::编辑框_网址, settings.GetString("//Source.Web"));
    SetText(MainControl::编辑框_文件路径, settings.GetString("//Source.File"));
    const std::string type = settings.GetString("//Source.Type");
    SetSourceIndex(SourceIndexOfType(type));
    SendMessageW(Control(MainControl::选择框_结果_全部展开), BM_SETCHECK,
                 settings.Exists("//ExpandAll") && settings.GetBool("//ExpandAll") ? BST_CHECKED : BST_UNCHECKED, 0);

    if (!objects_.startFile.empty()) return; // the file the program was started with takes the editor
    if (type == "File" && kova::FileExists(Text(MainControl::编辑框_文件路径))) {
        LoadFromFile();
        return;
    }
    std::string bytes;
    kova::ReadFileBytes(objects_.bufferPath, bytes);
    const std::string text = kova::ConvertStringEncoding(bytes, "UTF-8", "UTF-8");
    if (kova::GbkByteLength(text) > kBufferQuestionLimit &&
        MessageBoxW(Handle(), kova::Utf8ToWide(kBufferQuestion).c_str(), kova::Utf8ToWide(kBufferQuestionTitle).c_str(),
                    MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    std::string error;
    intake_.LoadEditorText(text, error, false);
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

void MainWindow::Save() {
    kova::JMap& settings = *objects_.settings;
    settings.SetString("//Source.Web", Text(MainControl::编辑框_网址));
    settings.SetString("//Source.File", Text(MainControl::编辑框_文件路径));
    const LRESULT index = SendMessageW(Control(MainControl::组合框_数据源), CB_GETCURSEL, 0, 0);
    settings.SetString("//Source.Type", kSourceTypes[index >= 0 && index < 3 ? index : 0]);
    settings.Setter("//ExpandAll", kova::Value::Boolean(SendMessageW(Control(MainControl::选择框_结果_全部展开),
                                                                     BM_GETCHECK, 0, 0) == BST_CHECKED));
    if (objects_.settingsPath.empty()) return; // never restored, so nothing to write beside
    // Files are replaced whole or not at all, so a failed write leaves the old one as it was;
    // but the user would otherwise find last run's content at the next start without knowing why.
    std::string failed;
    if (!SaveSettings(objects_.settingsPath, settings)) failed += objects_.settingsPath + "\r\n";
    // Without the editor (no scintilla.dll) its text reads as empty; the file keeps the last run's text.
    if (objects_.mainEditor->Created() && !SaveBuffer(objects_.bufferPath, intake_.ReadEditorText("UTF-8")))
        failed += objects_.bufferPath + "\r\n";
    if (!failed.empty()) ShowFailure(kova::CreateString(kSaveFailed, {failed}), kSaveFailedTitle);
}

} // namespace vivu
