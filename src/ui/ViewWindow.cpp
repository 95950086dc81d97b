// The content view window: its controls, layout, editor, menu and buttons.
#include "ui/ViewWindow.h"

#include "editor/EditorStyle.h"
#include "kova/Encoding.h"
#include "ui/Clipboard.h"
#include "ui/ControlBuilder.h"
#include "ui/ControlColours.h"
#include "ui/ModalLoop.h"
#include "ui/MonitorPlacement.h"
#include "ui/WindowBase.h"
#include "view/EditBoxText.h"

#include <Scintilla.h>

#include <array>
#include <utility>

namespace vivu {

namespace {

enum class ViewControl : int { Window = 0, 标签_背景 = 100, 编辑框_查看内容, 按钮_复制, 按钮_关闭 };

constexpr wchar_t kClassName[] = L"KovaViewWindow";
constexpr ControlFont kText{};
constexpr ControlRow<ViewControl> kRows[] = {
    {ViewControl::标签_背景, ControlKind::Label, {}, 8, 8, 544, 320, "", kText},
    {ViewControl::编辑框_查看内容, ControlKind::LongTextEdit, {}, 10, 10, 539, 315, "", kText},
    {ViewControl::按钮_复制, ControlKind::Button, {}, 8, 336, 56, 28, "复制", kText},
    {ViewControl::按钮_关闭, ControlKind::Button, {}, 496, 336, 56, 28, "关闭", kText},
};

struct MenuItem {
    const char* caption;
    unsigned message;
};
constexpr MenuItem kViewMenu[] = {
    {"撤销", SCI_UNDO},  {"重复", SCI_REDO}, {nullptr, 0},        {"复制", SCI_COPY},
    {"粘贴", SCI_PASTE}, {"剪切", SCI_CUT},  {"删除", SCI_CLEAR},
};
constexpr int kMenuFirstId = 2000;

class ViewWindow final : public WindowBase {
public:
    explicit ViewWindow(ProcessObjects& objects) : objects_(objects) {}
    ~ViewWindow() override {
        if (menu_) DestroyMenu(menu_);
    }

    void Run(HWND owner) {
        ExpectDpiOf(owner);
        const POINT at = OnOwnersMonitor(owner, {Scale(50), Scale(50)});
        const RECT place{at.x, at.y, at.x + Scale(566), at.y + Scale(402)};
        if (!CreateBaseWindow(kClassName, nullptr, WS_EX_CONTROLPARENT, L"查看", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                              place, owner))
            return;
        ShowWindow(Handle(), SW_SHOW);
        RunModalOver(owner);
    }

private:
    HWND Control(ViewControl id) const { return controls_[static_cast<int>(id) - 100]; }

    void OnCreate() {
        for (const auto& row : kRows)
            controls_[static_cast<int>(row.id) - 100] =
                CreateControl(row.kind, Handle(), static_cast<int>(row.id), Scale(row.x), Scale(row.y),
                              Scale(row.width), Scale(row.height), row.caption, fonts_.Get(row.font, Dpi()));
        HWND edit = Control(ViewControl::编辑框_查看内容);
        SetWindowLongPtrW(edit, GWL_STYLE, GetWindowLongPtrW(edit, GWL_STYLE) & ~WS_BORDER);
        SetWindowPos(edit, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED);

        Win32LayoutManager& layout = *objects_.viewLayout;
        layout.Bind(Handle()); // no hook: the window has no minimum size of its own
        layout.Register(Control(ViewControl::标签_背景), 1, 1, 1, 1);
        layout.Register(Control(ViewControl::按钮_复制), 1, 0, 0, 1);
        layout.Register(Control(ViewControl::按钮_关闭), 0, 0, 1, 1);
        layout.Register(edit, 1, 1, 1, 1);

        const ViewRequest& request = objects_.viewRequest;
        if (!request.styled) {
            SetWindowTextW(edit, kova::Utf8ToWide(EditBoxText(request.text)).c_str());
            return;
        }
        ShowWindow(edit, SW_HIDE);
        menu_ = CreatePopupMenu();
        for (size_t i = 0; i < std::size(kViewMenu); ++i) {
            if (kViewMenu[i].caption)
                AppendMenuW(menu_, MF_STRING, kMenuFirstId + i, kova::Utf8ToWide(kViewMenu[i].caption).c_str());
            else
                AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr);
        }
        CodeEditor& editor = *objects_.viewEditor;
        CreateJsonEditor(editor, Control(ViewControl::标签_背景), [this](const EditorEvent&) {
            POINT at{};
            GetCursorPos(&at);
            TrackPopupMenu(menu_, TPM_RIGHTBUTTON, at.x + 3, at.y + 3, 0, Handle(), nullptr);
            return 0;
        });
        if (editor.ContainerWindow()) layout.Register(editor.ContainerWindow(), 0, 0, 1, 1);
        editor.AddText(request.text);
        editor.SendEditorMessage(SCI_EMPTYUNDOBUFFER); // the shown text is where undo stops
        FitEditor();
        if (editor.ContainerWindow()) SendMessageW(editor.ContainerWindow(), WM_PAINT, 0, 0);
    }

    void FitEditor() {
        CodeEditor& editor = *objects_.viewEditor;
        if (!objects_.viewRequest.styled || !editor.ContainerWindow()) return;
        RECT label{};
        GetClientRect(Control(ViewControl::标签_背景), &label);
        editor.Move(2, 2, label.right - 4, label.bottom - 4);
    }

    void Copy() {
        std::string text;
        if (objects_.viewRequest.styled) {
            CodeEditor& editor = *objects_.viewEditor;
            text = editor.GetText(editor.GetLength() + 1);
        } else {
            HWND edit = Control(ViewControl::编辑框_查看内容);
            std::wstring wide(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
            wide.resize(GetWindowTextW(edit, wide.data(), static_cast<int>(wide.size())));
            text = kova::WideToUtf8(wide);
        }
        SetClipboardText(Handle(), text);
    }

    void OnDpiChanged(int oldDpi) override {
        for (const auto& row : kRows)
            SendMessageW(Control(row.id), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Get(row.font, Dpi())), FALSE);
        fonts_.KeepOnly(Dpi());
        objects_.viewLayout->Rescale(oldDpi, Dpi()); // the base moves the window next, which lays it out
    }

    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_SIZE:
            objects_.viewLayout->Relayout();
            FitEditor();
            return 0;
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (id >= kMenuFirstId && id < kMenuFirstId + static_cast<int>(std::size(kViewMenu))) {
                objects_.viewEditor->SendEditorMessage(kViewMenu[id - kMenuFirstId].message);
            } else if (id == static_cast<int>(ViewControl::按钮_复制)) {
                Copy();
            } else if (id == static_cast<int>(ViewControl::按钮_关闭) || id == IDCANCEL) {
                CloseModal(Handle());
            }
            return 0;
        }
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            return PaintWith(reinterpret_cast<HDC>(wParam),
                             reinterpret_cast<HWND>(lParam) == Control(ViewControl::编辑框_查看内容)
                                 ? DarkGreyOnWhite()
                                 : SystemColours(COLOR_BTNTEXT, COLOR_BTNFACE));
        default:
            return Default(message, wParam, lParam);
        }
    }

    ProcessObjects& objects_;
    HMENU menu_ = nullptr;
    std::array<HWND, 4> controls_{};
    FontCache fonts_;
};

} // namespace

void OpenView(ProcessObjects& objects, HWND owner, std::string text, bool styled) {
    objects.viewRequest.text = std::move(text); // a node's text can be hundreds of megabytes: taken, not copied
    objects.viewRequest.styled = styled;
    ViewWindow window(objects);
    window.Run(owner);
}

} // namespace vivu
