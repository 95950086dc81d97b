// The main window's JSON sources: clipboard, file and web address.
#include "kova/CreateString.h"
#include "kova/Encoding.h"
#include "ui/MainWindow.h"
#include "ui/WaitCursor.h"
#include "ui/WebWaitBox.h"
#include "json/FileSource.h"

#include <commdlg.h>

#include <utility>

namespace vivu {

namespace {
constexpr char kFailedTitle[] = "失败";
constexpr char kWebFailedTitle[] = "载入失败";
constexpr char kNoConnection[] = "无法连接到服务器！";
constexpr char kReadFailed[] = "读取数据失败！([{1}] {2})";
} // namespace

void MainWindow::ChooseFile() {
    std::wstring name(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = Handle();
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameW(&dialog)) return; // cancelled: nothing changes
    name.resize(wcslen(name.c_str()));
    SetText(MainControl::编辑框_文件路径, kova::WideToUtf8(name));
    LoadFromFile();
}

bool MainWindow::LoadFromFile() {
    const WaitCursor wait;
    std::string error;
    bool ok = false;
    if (auto text = ReadSourceFile(Text(MainControl::编辑框_文件路径), &error)) {
        // From here on the editor holds the file's text, whether it parses or not.
        intake_.LoadEditorText(*text, error, false);
        session_.FileLoaded(*text);
        ok = intake_.ParseJson(error, false);
    }
    if (ok)
        RefreshLoadingCode();
    else
        ShowFailure(error, kFailedTitle);
    return ok;
}

void MainWindow::LoadFromWeb() {
    // The box keeps the window from input, but a message could still ask again: one request at a time.
    if (std::exchange(loadingFromWeb_, true)) return;
    struct Done {
        bool& flag;
        Session& session;
        ~Done() {
            flag = false;
            session.WebLoadEnds();
        }
    } done{loadingFromWeb_, session_};

    const std::string url = Text(MainControl::编辑框_网址);
    objects_.settings->SetString("//Source.Web", url);
    // Until the load ends a session end, or a close, saves the text from before.
    session_.WebLoadStarts();
    CodeEditor& editor = *objects_.mainEditor;
    const bool hadText = editor.GetLength() > 0;
    editor.ClearAll(); // one undo step brings the old text back
    std::string body;
    std::string error;
    kova::HTTPWebClient& web = *objects_.webClient;
    kova::CancelToken cancel;
    bool ok = false;
    // The request runs on a thread of its own and touches nothing of the window: what follows it
    // happens here, once it has returned.
    WebWaitBox box([&] { ok = web.Get(url, body, true, &cancel); }, [&cancel] { cancel.Cancel(); });
    const bool finished = box.Run(Handle());
    if (!Handle()) return; // closed meanwhile: the close saved what the editor held before
    bool replaced = false;
    if (!finished) {
        // Cancelled: as after a time-out, but without a message.
    } else if (!ok) {
        error = kNoConnection;
    } else if (web.GetRepoHTTPCode() != 200) {
        error = kova::CreateString(kReadFailed, {std::to_string(web.GetRepoHTTPCode()), web.GetRepoHTTPCodeText()});
        ok = false;
    } else {
        ok = intake_.LoadEditorText(body, error, true); // the body stays, whether it parses or not
        replaced = true;
    }
    // Nothing came: the text from before comes back as the undo of the emptying, not as one more step.
    if (!replaced && hadText && editor.GetLength() == 0) editor.Undo();
    session_.WebLoadEnds();
    if (!finished) return;
    if (ok)
        RefreshLoadingCode();
    else
        ShowFailure(error, kWebFailedTitle);
}

} // namespace vivu
