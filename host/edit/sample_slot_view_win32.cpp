#include "host/edit/sample_slot_view.h"

#include "host/edit/editor_control.h"

namespace host {
namespace {

constexpr const wchar_t* kSlotClass = L"ChromasiftSampleSlot";
constexpr const wchar_t* kShapeNames[] = {L"Sphere", L"Box", L"Cylinder"};

void RegisterSlotClass(WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kSlotClass;
    RegisterClassExW(&windowClass); // fails harmlessly when registered already
}

} // namespace

SampleSlotView::~SampleSlotView() {
    Stop();
}

bool SampleSlotView::Create(HWND editorWindow) {
    editor = editorWindow;
    RegisterSlotClass(SlotProc);
    slot = CreateWindowExW(WS_EX_CLIENTEDGE, kSlotClass, L"", WS_CHILD | WS_VISIBLE, kMargin, kMargin,
                           kSlotSize + 4, kSlotSize + 4, editor, nullptr, GetModuleHandleW(nullptr), this);
    const int x = kMargin * 3 + kSlotSize;
    shapeList = CreateEditorControl(editor, L"ComboBox", L"", WS_TABSTOP | CBS_DROPDOWNLIST, x, kMargin, 110,
                                    120, kShapeListId);
    checkerBox = CreateEditorControl(editor, L"Button", L"Checker background", WS_TABSTOP | BS_AUTOCHECKBOX,
                                     x, kMargin + 32, 160, 20, kCheckerBoxId);
    if (slot == nullptr || shapeList == nullptr || checkerBox == nullptr)
        return false;
    for (const wchar_t* name : kShapeNames)
        SendMessageW(shapeList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessageW(shapeList, CB_SETCURSEL, 0, 0);
    // The render thread only posts: the picture is taken and shown on the window's own thread.
    renderer =
        std::make_unique<SlotRenderer>([window = editor] { PostMessageW(window, kSlotPictureReady, 0, 0); });
    return true;
}

void SampleSlotView::Render(Texmap& map, TimeValue t) {
    if (renderer == nullptr)
        return;
    settings.time = t;
    renderer->Request(map, settings);
}

void SampleSlotView::ShowFinishedPicture() {
    if (renderer == nullptr)
        return;
    if (std::optional<SlotPicture> picture = renderer->TakePicture()) {
        shown = std::move(picture);
        InvalidateRect(slot, nullptr, FALSE);
    }
}

bool SampleSlotView::Command(int control, int notification) {
    if (control == kShapeListId && notification == CBN_SELCHANGE) {
        const LRESULT chosen = SendMessageW(shapeList, CB_GETCURSEL, 0, 0);
        settings.shape = chosen == 1 ? SlotShape::Box : chosen == 2 ? SlotShape::Cylinder : SlotShape::Sphere;
        return true;
    }
    if (control == kCheckerBoxId && notification == BN_CLICKED) {
        settings.checker = SendMessageW(checkerBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
        return true;
    }
    return false;
}

void SampleSlotView::Stop() {
    renderer.reset();
}

void SampleSlotView::Paint() {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(slot, &paint);
    if (shown && shown->width > 0 && shown->height > 0) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = shown->width;
        info.bmiHeader.biHeight = -shown->height; // rows from the top
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(shown->width), static_cast<DWORD>(shown->height), 0, 0,
                          0, static_cast<UINT>(shown->height), shown->bgrx.data(), &info, DIB_RGB_COLORS);
    } else {
        // Until the first picture is finished the slot shows its empty background.
        RECT client;
        GetClientRect(slot, &client);
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    }
    EndPaint(slot, &paint);
}

LRESULT CALLBACK SampleSlotView::SlotProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* view = reinterpret_cast<SampleSlotView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (view != nullptr && message == WM_PAINT) {
        view->Paint();
        return 0;
    }
    if (message == WM_ERASEBKGND)
        return 1; // the picture covers the whole slot
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace host
