// The main window: creation handler, message dispatch and the command handlers.
#include "ui/MainWindow.h"

#include "codegen/LoadingCode.h"
#include "editor/CodeBoxColouring.h"
#include "editor/EditorStyle.h"
#include "kova/CreateString.h"
#include "kova/Encoding.h"
#include "kova/File.h"
#include "kova/NodePath.h"
#include "ui/AboutWindow.h"
#include "ui/Artwork.h"
#include "ui/AvailableFace.h"
#include "ui/Clipboard.h"
#include "ui/ControlColours.h"
#include "ui/Dpi.h"
#include "ui/InputBox.h"
#include "ui/ToolbarCommand.h"
#include "ui/ViewWindow.h"
#include "ui/WaitCursor.h"

#include <Scintilla.h>
#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <climits>
#include <cwchar>
#include <exception>

namespace vivu {

namespace {

constexpr wchar_t kClassName[] = L"KovaVivuDiveziMain";
constexpr UINT_PTR kForwardId = 0x4B4D;

// Commands of the editor menu, in menu order (0 is the separator).
struct MenuItem {
    const char* caption;
    unsigned message;
};
constexpr MenuItem kEditorMenu[] = {
    {"撤销(&Z)", SCI_UNDO},  {"重复(&Y)", SCI_REDO},  {nullptr, 0}, {"剪切(&X)", SCI_CUT}, {"复制(&C)", SCI_COPY},
    {"粘贴(&V)", SCI_PASTE}, {"删除(&D)", SCI_CLEAR},
};
constexpr int kMenuFirstId = 2000;
constexpr int kLeftToolbarFirstId = 3000;
constexpr int kRightToolbarFirstId = 3100;

int Index(MainControl id) {
    return static_cast<int>(id) - 100;
}

} // namespace

MainWindow::MainWindow(ProcessObjects& objects)
    : objects_(objects), intake_(*objects.mainEditor, *objects.model, *this),
      session_(*objects.mainEditor, *objects.settings, *this) {}

MainWindow::~MainWindow() {
    if (editorMenu_) DestroyMenu(editorMenu_);
    for (HIMAGELIST images : toolbarImages_)
        if (images) ImageList_Destroy(images);
    for (HICON icon : buttonIcons_)
        if (icon) DestroyIcon(icon);
}

HWND MainWindow::Control(MainControl id) const {
    if (id == MainControl::Window) return Handle();
    const int i = Index(id);
    return i >= 0 && i < static_cast<int>(controls_.size()) ? controls_[i] : nullptr;
}

bool MainWindow::Create(int showCommand) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    ExpectDpiOf(nullptr);
    // The client is what scales: the frame around it has its own size at each dpi.
    constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    RECT frame96{}, frame{};
    AdjustWindowRectForDpi(frame96, kStyle, 0, kDesignDpi);
    AdjustWindowRectForDpi(frame, kStyle, 0, Dpi());
    const int clientWidth = kMainWidth - (frame96.right - frame96.left);
    const int clientHeight = kMainHeight - (frame96.bottom - frame96.top);
    const RECT place{Scale(kMainLeft), Scale(kMainTop),
                     Scale(kMainLeft) + Scale(clientWidth) + (frame.right - frame.left),
                     Scale(kMainTop) + Scale(clientHeight) + (frame.bottom - frame.top)};
    if (!CreateBaseWindow(kClassName, LoadIconW(instance, MAKEINTRESOURCEW(1)), 0,
                          kova::Utf8ToWide(kMainCaptionTemplate), kStyle, place, nullptr))
        return false;
    ShowWindow(Handle(), startMaximised_ ? SW_SHOWMAXIMIZED : showCommand);
    UpdateWindow(Handle());
    DragAcceptFiles(Handle(), TRUE);
    if (!objects_.startFile.empty()) OpenFile(objects_.startFile);
    session_.Started();
    return true;
}

// Creation handler: runs once while the window is being created, before it is shown.
void MainWindow::OnCreate() {
    BuildControls();
    SetWindowTextW(Handle(), kova::Utf8ToWide(kova::CreateString(kMainCaptionTemplate, {kVersion})).c_str());
    SetText(MainControl::标签_标题, kova::CreateString("{1}", {kProductName}));
    // The title label and the canvas paint on COLOR_BTNFACE (see OnControlColour).
    BindMainWindowTabStrip(*objects_.tabStrip, Control(MainControl::画板_选择夹));
    objects_.tabStrip->SetDpi(Dpi());

    Win32LayoutManager& layout = *objects_.mainLayout;
    layout.Bind(Handle());
    layout.SetDpi(Dpi());
    layout.InstallHook(); // holds the minimum tracking size
    for (const auto& a : MainWindowAnchors()) layout.Register(Control(a.id), a.left, a.top, a.right, a.bottom);
    objects_.resultTree->Bind(Control(MainControl::树型框_结果));
    CreateEditorMenu();
    CreateJsonEditor(*objects_.mainEditor, Control(MainControl::标签_编辑框), [this](const EditorEvent&) {
        ShowEditorMenu();
        return 0;
    });

    // The code box: "YaHei Consolas Hybrid", 10 points, grey.
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_FACE | CFM_SIZE | CFM_COLOR;
    format.yHeight = 10 * 20;
    format.crTextColor = RGB(96, 96, 96);
    if (HighContrastOn()) format.dwEffects = CFE_AUTOCOLOR; // the theme's window text
    const std::wstring face = AvailableFace(L"YaHei Consolas Hybrid");
    wcsncpy(format.szFaceName, face.c_str(), LF_FACESIZE - 1);
    SendMessageW(Control(MainControl::编辑框_结果), EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    FitEditor();

    kova::HTTPWebClient& web = *objects_.webClient;
    web.SetSSLVerify(0, false);
    web.SetupTimeout(15, 60);
    web.SetIgoneHTTPErrorCode(true);

    session_.Start({objects_.programDir.empty() ? kova::PathGetCurrentDir() : objects_.programDir, objects_.userDataDir,
                    !objects_.startFile.empty(), objects_.mainEditor->Created()});
    objects_.settingsPath = session_.Location().settingsPath;
    objects_.bufferPath = session_.Location().bufferPath;
    std::string error;
    intake_.ParseJson(error, false);
    RefreshLoadingCode();
    created_ = true;
}

void MainWindow::RefreshLoadingCode() {
    const auto index = static_cast<int>(SendMessageW(Control(MainControl::组合框_数据源), CB_GETCURSEL, 0, 0));
    SetText(MainControl::编辑框_结果,
            LoadingCodeGenerator(SourceKindName(index), objects_.model->kind, Text(MainControl::编辑框_网址),
                                 Text(MainControl::编辑框_文件路径)));
}

void MainWindow::BuildControls() {
    LoadLibraryW(L"riched20.dll"); // registers RichEdit20W
    for (const auto& row : MainWindowRows()) {
        HWND parent = row.parent.page < 0 ? Handle() : Control(row.parent.tab);
        HWND control = CreateControl(row.kind, parent, static_cast<int>(row.id), Scale(row.x), Scale(row.y),
                                     Scale(row.width), Scale(row.height), row.caption, fonts_.Get(row.font, Dpi()));
        controls_[Index(row.id)] = control;
        // Controls on tab pages talk to their tab control; it passes their messages on to us.
        if (row.kind == ControlKind::Tab || row.kind == ControlKind::Label || row.kind == ControlKind::TreeView ||
            row.kind == ControlKind::RichEdit || row.kind == ControlKind::Edit)
            SetWindowSubclass(control, ForwardingProc, kForwardId, reinterpret_cast<DWORD_PTR>(this));
    }
    // The title row lies above the main tab control's headers; the copy button above the code box;
    // the result tree above its frame label.
    SetWindowPos(Control(MainControl::选择夹_JSON), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowPos(Control(MainControl::按钮_代码_复制), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowPos(Control(MainControl::树型框_结果), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EnableWindow(Control(MainControl::按钮_添加窗口), FALSE);
    // The source pages follow the combo box; their tabs sit below the page so they do not cover it.
    HWND sources = Control(MainControl::选择夹_来源);
    SetWindowLongPtrW(sources, GWL_STYLE, GetWindowLongPtrW(sources, GWL_STYLE) | TCS_BOTTOM);
    HideSourceTabHeaders();
    SetWindowPos(Control(MainControl::标签_编辑框), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    // The toolbars reach 2 pixels into the rule below them: it goes in front, to run the whole row.
    SetWindowPos(Control(MainControl::标签_工具条_底边), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetUpToolbars();
    ShowTabPage(MainControl::选择夹_JSON, 0);
    ShowTabPage(MainControl::选择夹_来源, 0);
}

void MainWindow::SetUpToolbars() {
    auto fill = [this](MainControl id, std::span<const ToolbarButton> buttons, int firstId) {
        HWND toolbar = Control(id);
        std::vector<std::wstring> captions;
        captions.reserve(buttons.size());
        std::vector<TBBUTTON> items;
        for (size_t i = 0; i < buttons.size(); ++i) {
            TBBUTTON b{};
            b.idCommand = firstId + static_cast<int>(i);
            if (buttons[i].image < 0) {
                b.fsStyle = BTNS_SEP;
                b.iBitmap = 8;
            } else {
                captions.push_back(kova::Utf8ToWide(buttons[i].caption));
                b.iBitmap = buttons[i].image;
                b.fsState = TBSTATE_ENABLED;
                b.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE;
                b.iString = reinterpret_cast<INT_PTR>(captions.back().c_str());
            }
            items.push_back(b);
        }
        SendMessageW(toolbar, TB_ADDBUTTONSW, items.size(), reinterpret_cast<LPARAM>(items.data()));
    };
    SetToolbarImages();
    fill(MainControl::工具条_左, LeftToolbarButtons(), kLeftToolbarFirstId);
    fill(MainControl::工具条_右, RightToolbarButtons(), kRightToolbarFirstId);
    // Captions on one line; tooltips are asked for with TBN_GETINFOTIPW (ShowToolbarTip).
    for (MainControl id : {MainControl::工具条_左, MainControl::工具条_右})
        SendMessageW(Control(id), TB_SETMAXTEXTROWS, 1, 0);
}

void MainWindow::SetToolbarImages() {
    // The pictures are drawn at the window's dpi; the old ones go once nothing shows them.
    const auto oldImages = toolbarImages_;
    const auto oldIcons = buttonIcons_;
    const MainControl toolbars[] = {MainControl::工具条_左, MainControl::工具条_右};
    for (size_t i = 0; i < std::size(toolbars); ++i) {
        HWND toolbar = Control(toolbars[i]);
        const int size = Scale(kToolbarImageSize);
        SendMessageW(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(size, size));
        toolbarImages_[i] = CreateToolbarImageList(kToolbarImageCount, size);
        SendMessageW(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(toolbarImages_[i]));
    }
    const std::pair<MainControl, Glyph> iconButtons[] = {{MainControl::按钮_网址_转到, Glyph::Go},
                                                         {MainControl::按钮_文件_选择, Glyph::OpenFile},
                                                         {MainControl::按钮_文件_重载, Glyph::Reload},
                                                         {MainControl::按钮_结果_返回, Glyph::Back}};
    for (size_t i = 0; i < std::size(iconButtons); ++i) {
        buttonIcons_[i] = CreateGlyphIcon(iconButtons[i].second, Scale(20));
        SendMessageW(Control(iconButtons[i].first), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(buttonIcons_[i]));
    }
    for (HIMAGELIST images : oldImages)
        if (images) ImageList_Destroy(images);
    for (HICON icon : oldIcons)
        if (icon) DestroyIcon(icon);
}

void MainWindow::OnDpiChanged(int oldDpi) {
    // Fonts, pictures and the places the layout keeps follow the new dpi; the base then moves the
    // window to the rectangle Windows suggests, and its WM_SIZE lays every control out again.
    for (const auto& row : MainWindowRows())
        SendMessageW(Control(row.id), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Get(row.font, Dpi())), FALSE);
    fonts_.KeepOnly(Dpi());
    SetToolbarImages();
    objects_.mainLayout->Rescale(oldDpi, Dpi());
    objects_.mainLayout->SetDpi(Dpi());
    // The controls the layout does not move stay at their template places.
    for (const auto& row : MainWindowRows()) {
        const bool anchored =
            std::ranges::any_of(MainWindowAnchors(), [&](const Anchors& a) { return a.id == row.id; });
        if (!anchored && row.id != MainControl::树型框_结果)
            MoveWindow(Control(row.id), Scale(row.x), Scale(row.y), Scale(row.width), Scale(row.height), TRUE);
    }
    objects_.tabStrip->SetDpi(Dpi());
}

void MainWindow::ShowToolbarTip(NMTBGETINFOTIPW& tip) const {
    const bool left = tip.hdr.hwndFrom == Control(MainControl::工具条_左);
    const auto buttons = left ? LeftToolbarButtons() : RightToolbarButtons();
    const int index = tip.iItem - (left ? kLeftToolbarFirstId : kRightToolbarFirstId);
    if (index < 0 || index >= static_cast<int>(buttons.size()) || buttons[index].tooltip.empty() || !tip.pszText ||
        tip.cchTextMax <= 0)
        return;
    const std::wstring text = kova::Utf8ToWide(buttons[index].tooltip);
    lstrcpynW(tip.pszText, text.c_str(), tip.cchTextMax);
}

void MainWindow::HideSourceTabHeaders() {
    // The editor frame covers all but the top of the headers (below the page, TCS_BOTTOM);
    // the window region cuts that off too, without moving the control or its pages.
    HWND sources = Control(MainControl::选择夹_来源);
    LONG headersTop = LONG_MAX;
    const int count = static_cast<int>(SendMessageW(sources, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        RECT item{};
        if (SendMessageW(sources, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item)))
            headersTop = std::min(headersTop, item.top);
    }
    if (headersTop == LONG_MAX) return;
    sourceHeadersTop_ = headersTop;
    // As wide as a window gets: the control widens with the main window, its headers stay where they are.
    SetWindowRgn(sources, CreateRectRgn(0, 0, SHRT_MAX, headersTop), FALSE);
}

void MainWindow::CloseSourcePageFrame(HDC dc) {
    if (sourceHeadersTop_ <= 0) return;
    RECT client{};
    GetClientRect(Control(MainControl::选择夹_来源), &client);
    // The frame's bottom line is the last row left; it has a gap only below the selected header.
    const int y = sourceHeadersTop_ - 1;
    const COLORREF frame = GetPixel(dc, client.right - 3, y);
    if (frame == CLR_INVALID) return;
    HPEN pen = CreatePen(PS_SOLID, 1, frame);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, 1, y, nullptr);
    LineTo(dc, client.right - 2, y);
    SelectObject(dc, old);
    DeleteObject(pen);
}

void MainWindow::PaintToolbarRow(HDC dc) {
    HWND left = Control(MainControl::工具条_左), right = Control(MainControl::工具条_右);
    if (!IsWindowVisible(left)) return; // the other page
    RECT a{}, b{};
    GetWindowRect(left, &a);
    GetWindowRect(right, &b);
    RECT row{a.right, std::min(a.top, b.top), b.left, std::max(a.bottom, b.bottom)};
    MapWindowPoints(HWND_DESKTOP, GetParent(left), reinterpret_cast<POINT*>(&row), 2);
    if (row.right > row.left) FillRect(dc, &row, GetSysColorBrush(COLOR_BTNFACE));
}

void MainWindow::CreateEditorMenu() {
    editorMenu_ = CreatePopupMenu();
    for (size_t i = 0; i < std::size(kEditorMenu); ++i) {
        if (!kEditorMenu[i].caption) {
            AppendMenuW(editorMenu_, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        AppendMenuW(editorMenu_, MF_STRING, kMenuFirstId + i, kova::Utf8ToWide(kEditorMenu[i].caption).c_str());
    }
}

void MainWindow::ShowEditorMenu() {
    POINT at{};
    GetCursorPos(&at);
    TrackPopupMenu(editorMenu_, TPM_RIGHTBUTTON, at.x + 3, at.y + 3, 0, Handle(), nullptr);
}

void MainWindow::ShowTabPage(MainControl tab, int page) {
    SendMessageW(Control(tab), TCM_SETCURSEL, page, 0);
    for (const auto& row : MainWindowRows()) {
        if (row.parent.page < 0 || row.parent.tab != tab) continue;
        ShowWindow(Control(row.id), row.parent.page == page ? SW_SHOW : SW_HIDE);
    }
}

void MainWindow::FitEditor() {
    RECT label{};
    GetClientRect(Control(MainControl::标签_编辑框), &label);
    const int border = Scale(2);
    objects_.mainEditor->Move(border, border, label.right - 2 * border, label.bottom - 2 * border);
}

void MainWindow::OnResized() {
    objects_.mainLayout->Relayout();
    HideSourceTabHeaders(); // their height follows the font, which follows the dpi
    if (objects_.tabStrip->Canvas()) {
        objects_.tabStrip->Invalidate(); // the canvas may have changed size
        objects_.tabStrip->Paint();
    }
    FitEditor();
    // The tree follows its frame label exactly.
    RECT frame{};
    HWND background = Control(MainControl::标签_树形框_背景);
    GetWindowRect(background, &frame);
    MapWindowPoints(HWND_DESKTOP, GetParent(background), reinterpret_cast<POINT*>(&frame), 2);
    MoveWindow(Control(MainControl::树型框_结果), frame.left, frame.top, frame.right - frame.left,
               frame.bottom - frame.top, TRUE);
}

void MainWindow::OnMouseMoved(MainControl over) {
    HWND copy = Control(MainControl::按钮_代码_复制);
    const bool wanted = over == MainControl::编辑框_结果;
    if (!!IsWindowVisible(copy) != wanted) ShowWindow(copy, wanted ? SW_SHOW : SW_HIDE);
}

void MainWindow::SetText(MainControl id, std::string_view text) {
    SetWindowTextW(Control(id), kova::Utf8ToWide(text).c_str());
}

std::string MainWindow::Text(MainControl id) const {
    HWND control = Control(id);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(GetWindowTextW(control, text.data(), static_cast<int>(text.size())));
    return kova::WideToUtf8(text);
}

void MainWindow::ShowFailure(const std::string& text, const std::string& title) {
    MessageBoxW(Handle(), kova::Utf8ToWide(text).c_str(), kova::Utf8ToWide(title.empty() ? "失败" : title).c_str(),
                MB_OK | MB_ICONEXCLAMATION);
    ShowFailurePlace(text);
}

bool MainWindow::TranslateShortcut(const MSG& message) {
    if (message.message == WM_KEYDOWN && message.wParam == VK_F5 && GetAncestor(message.hwnd, GA_ROOT) == Handle()) {
        ParseCommand();
        return true;
    }
    return TranslateNodeMenuKey(message) || TranslateFindShortcut(message);
}

// ---- commands ----

void MainWindow::RunToolbarCommand(std::string_view caption) {
    const WaitCursor wait; // parse, format and compress of a large document take a while
    std::string error;
    switch (ToolbarCommandOfCaption(caption)) {
    case ToolbarCommand::Copy:
        SetClipboardText(Handle(), intake_.ReadEditorText("UTF-8"));
        break;
    case ToolbarCommand::Paste:
        PasteFromClipboard();
        break;
    case ToolbarCommand::Clear:
        intake_.LoadEditorText("", error, false);
        break;
    case ToolbarCommand::Format:
        RewriteEditorText(0);
        break;
    case ToolbarCommand::Compress:
        RewriteEditorText(1);
        break;
    case ToolbarCommand::Undo:
        objects_.mainEditor->Undo();
        break;
    case ToolbarCommand::Redo:
        objects_.mainEditor->Redo();
        break;
    case ToolbarCommand::Parse:
        ParseCommand();
        break;
    case ToolbarCommand::KeyName:
        KeyNameDialog();
        break;
    case ToolbarCommand::About:
        AboutWindow::ShowModal(Handle(), kova::CreateString(kMainCaptionTemplate, {kVersion}));
        break;
    case ToolbarCommand::None:
        break;
    }
}

void MainWindow::KeyNameDialog() {
    // Read by CreateString: '' gives a double quote and \\ one backslash, so the examples show
    // what EscapeKeyName does to a backslash and a dot.
    static constexpr char kPrompt[] =
        R"(要格式化的主键名称。譬如：''\\''、''.''等会被转换为''\\\\''、''\\.''。转换后可以用于KOVA寻址表达式)";
    const auto entered = InputBox(Handle(), kova::CreateString(kPrompt), "格式化主键名");
    if (!entered) return;
    OpenView(objects_, Handle(), kova::EscapeKeyName(*entered), false);
}

bool MainWindow::PasteFromClipboard() {
    std::string error;
    const bool ok = intake_.LoadEditorText(GetClipboardText(Handle()), error, true);
    if (!ok) ShowFailure(error, "失败");
    return ok;
}

void MainWindow::ParseCommand() {
    std::string error;
    if (!intake_.ParseJson(error, true)) return; // the message was shown; the result page stays as it was
    // The selection goes first: its change runs NodeDetails, which writes the current path into the path box.
    TreeView_SelectItem(Control(MainControl::树型框_结果), nullptr);
    for (MainControl box : {MainControl::编辑框_结果_路径, MainControl::编辑框_结果_类型, MainControl::编辑框_结果_内容,
                            MainControl::编辑框_结果})
        SetText(box, "");
    ShowTabPage(MainControl::选择夹_JSON, 1);
    UpdateWindow(Handle()); // the emptied result page paints before a long rebuild
    const bool expandAll = SendMessageW(Control(MainControl::选择框_结果_全部展开), BM_GETCHECK, 0, 0) == BST_CHECKED;
    objects_.resultTree->Rebuild(*objects_.model, expandAll);
    locatable_ = *objects_.model; // shares the document
    objects_.mainEditor->SetSavePoint();
}

// ---- messages ----

void MainWindow::OnCommand(int id, int code, HWND from) {
    if (id >= kMenuFirstId && id < kMenuFirstId + static_cast<int>(std::size(kEditorMenu))) {
        objects_.mainEditor->SendEditorMessage(kEditorMenu[id - kMenuFirstId].message);
        return;
    }
    if (from && (from == Control(MainControl::工具条_左) || from == Control(MainControl::工具条_右))) {
        // Dispatch by the clicked button's caption.
        wchar_t caption[64] = {};
        SendMessageW(from, TB_GETBUTTONTEXTW, id, reinterpret_cast<LPARAM>(caption));
        RunToolbarCommand(kova::WideToUtf8(caption));
        return;
    }
    switch (static_cast<MainControl>(id)) {
    case MainControl::按钮_剪切板_粘贴:
        if (code == BN_CLICKED) PasteFromClipboard();
        break;
    case MainControl::组合框_数据源:
        if (code == CBN_SELCHANGE) {
            const int index = static_cast<int>(SendMessageW(from, CB_GETCURSEL, 0, 0));
            ShowTabPage(MainControl::选择夹_来源, index < 0 ? 0 : index);
            RefreshLoadingCode();
        }
        break;
    case MainControl::按钮_网址_转到:
        if (code == BN_CLICKED) LoadFromWeb();
        break;
    case MainControl::按钮_文件_选择:
        if (code == BN_CLICKED) ChooseFile();
        break;
    case MainControl::按钮_文件_重载:
        if (code == BN_CLICKED) LoadFromFile();
        break;
    case MainControl::按钮_结果_返回:
        if (code == BN_CLICKED) {
            ShowTabPage(MainControl::选择夹_JSON, 0);
            RefreshLoadingCode();
        }
        break;
    case MainControl::编辑框_结果:
        if (code == EN_CHANGE) ColouriseCodeBox(from);
        break;
    case MainControl::按钮_结果_路径_转到:
        if (code == BN_CLICKED) GoToPath();
        break;
    case MainControl::选择框_结果_全部展开:
        if (code == BN_CLICKED) {
            const WaitCursor wait;
            objects_.resultTree->ExpandAll(SendMessageW(from, BM_GETCHECK, 0, 0) == BST_CHECKED);
        }
        break;
    case MainControl::按钮_结果_复制:
        if (code == BN_CLICKED) SetClipboardText(Handle(), Text(MainControl::编辑框_结果_路径));
        break;
    case MainControl::按钮_代码_复制:
        if (code == BN_CLICKED) SetClipboardText(Handle(), Text(MainControl::编辑框_结果));
        break;
    default:
        break;
    }
}

LRESULT MainWindow::OnNotify(NMHDR& header) {
    if (header.code == TBN_GETINFOTIPW &&
        (header.hwndFrom == Control(MainControl::工具条_左) || header.hwndFrom == Control(MainControl::工具条_右))) {
        ShowToolbarTip(reinterpret_cast<NMTBGETINFOTIPW&>(header));
        return 0;
    }
    if (header.hwndFrom == Control(MainControl::树型框_结果)) {
        switch (header.code) {
        case NM_CUSTOMDRAW:
            return objects_.resultTree->OnCustomDraw(reinterpret_cast<NMTVCUSTOMDRAW&>(header));
        case TVN_SELCHANGEDW:
            NodeDetails();
            return 0;
        case NM_DBLCLK:
            OpenSelectedNode();
            return 0;
        case NM_RCLICK:
            ShowNodeMenuAtPointer();
            return TRUE; // no WM_CONTEXTMENU after it

        case TVN_ITEMEXPANDINGW:
            return objects_.resultTree->OnItemExpanding(reinterpret_cast<const NMTREEVIEWW&>(header));
        default:
            return 0;
        }
    }
    if (header.hwndFrom == Control(MainControl::选择夹_来源) && header.code == TCN_SELCHANGE) {
        // The source page follows the combo box, and a click on a page tab moves the combo box with it.
        const int page = static_cast<int>(SendMessageW(header.hwndFrom, TCM_GETCURSEL, 0, 0));
        SendMessageW(Control(MainControl::组合框_数据源), CB_SETCURSEL, page, 0);
        OnCommand(static_cast<int>(MainControl::组合框_数据源), CBN_SELCHANGE, Control(MainControl::组合框_数据源));
    } else if (header.hwndFrom == Control(MainControl::选择夹_JSON) && header.code == TCN_SELCHANGE) {
        ShowTabPage(MainControl::选择夹_JSON, static_cast<int>(SendMessageW(header.hwndFrom, TCM_GETCURSEL, 0, 0)));
    }
    return 0;
}

LRESULT MainWindow::OnControlColour(HDC dc, HWND control) {
    if (control == Control(MainControl::编辑框_结果_类型))
        return PaintWith(dc, DesignColours(RGB(0, 0, 128), GetSysColor(COLOR_WINDOW), GetSysColorBrush(COLOR_WINDOW),
                                           COLOR_WINDOWTEXT, COLOR_WINDOW));
    if (control == Control(MainControl::编辑框_结果_内容)) return PaintWith(dc, DarkGreyOnWhite());
    return 0;
}

LRESULT MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_SIZE:
        OnResized();
        if (created_) RecordRectangle();
        return 0;
    case WM_MOVE:
        objects_.mainLayout->Relayout();
        if (created_) RecordStatusAndRectangle();
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<NMHDR*>(lParam));
    case WM_MOUSEMOVE:
        OnMouseMoved(MainControl::Window);
        return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        if (LRESULT brush = OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
            return brush;
        if (message == WM_CTLCOLORSTATIC)
            return PaintWith(reinterpret_cast<HDC>(wParam), SystemColours(COLOR_BTNTEXT, COLOR_BTNFACE));
        break;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_DRAWITEM: {
        // The canvas until the tab strip paints it.
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        FillRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_BTNFACE));
        return TRUE;
    }
    case WM_QUERYENDSESSION:
        return session_.QueryEndSession();
    case WM_ENDSESSION:
        session_.EndSession(wParam != FALSE);
        return 0;
    case WM_DESTROY:
        // The process ends whatever the save meets: a failure is told first, then the loop ends.
        Guarded(
            Handle(),
            [this] {
                session_.Close();
                return LRESULT{0};
            },
            [] { return LRESULT{0}; });
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return Default(message, wParam, lParam);
}

// Tab controls pass their pages' notifications on; some controls report the mouse for the hover copy button.
LRESULT CALLBACK MainWindow::ForwardingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR data) {
    auto* self = reinterpret_cast<MainWindow*>(data);
    return Guarded(
        hwnd,
        [&]() -> LRESULT {
            switch (message) {
            case WM_COMMAND:
            case WM_NOTIFY:
            case WM_CTLCOLOREDIT:
            case WM_CTLCOLORSTATIC:
            case WM_CTLCOLORBTN:
                if (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD && self->Handle() &&
                    (hwnd == self->Control(MainControl::选择夹_JSON) ||
                     hwnd == self->Control(MainControl::选择夹_来源)))
                    return SendMessageW(self->Handle(), message, wParam, lParam);
                break;
            case WM_MOUSEMOVE:
                self->OnMouseMoved(static_cast<MainControl>(GetDlgCtrlID(hwnd)));
                break;
            case WM_PAINT:
                if ((hwnd == self->Control(MainControl::选择夹_JSON) ||
                     hwnd == self->Control(MainControl::选择夹_来源)) &&
                    !wParam) {
                    // Finishing what the tab controls paint: the main one paints its page white, the
                    // toolbars paint the button face; the source one leaves a gap where its header was cut off.
                    PAINTSTRUCT paint;
                    HDC dc = BeginPaint(hwnd, &paint);
                    DefSubclassProc(hwnd, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
                    if (hwnd == self->Control(MainControl::选择夹_JSON))
                        self->PaintToolbarRow(dc);
                    else
                        self->CloseSourcePageFrame(dc);
                    EndPaint(hwnd, &paint);
                    return 0;
                }
                break;
            case WM_LBUTTONDBLCLK:
                if (hwnd == self->Control(MainControl::编辑框_网址) ||
                    hwnd == self->Control(MainControl::编辑框_文件路径) ||
                    hwnd == self->Control(MainControl::编辑框_结果)) {
                    const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
                    SendMessageW(hwnd, EM_SETSEL, 0, -1);
                    return result;
                }
                break;
            default:
                break;
            }
            return DefSubclassProc(hwnd, message, wParam, lParam);
        },
        [&] { return DefSubclassProc(hwnd, message, wParam, lParam); });
}

} // namespace vivu
