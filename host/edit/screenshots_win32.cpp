// The screenshot command's pictures (Windows build): each window copied from its own device context.
// PrintWindow and WM_PRINT would be simpler, but Wine answers them with the background alone.
#include "host/edit/material_editor.h"

#include "host/base/text.h"
#include "host/draw/png_file.h"
#include "host/edit/material_editor_window.h"

#include "hostsdk/core_interface.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace host {
namespace {

constexpr int kMappingList = 1019;
constexpr int kManualButton = 1139;
constexpr int kSwatchFrame = 1035;
constexpr const wchar_t* kReorderTitle = L"KESTRIM Chromasift reorder colours";

// Copies the whole window, frame included, into RGBA bytes; false when nothing could be copied.
bool CopyWindow(HWND window, int& width, int& height, std::vector<std::uint8_t>& rgba) {
    RECT rect;
    if (!GetWindowRect(window, &rect))
        return false;
    width = rect.right - rect.left;
    height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return false;
    HDC source = GetWindowDC(window);
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool copied = false;
    if (bitmap != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        copied = BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY) != FALSE;
        GdiFlush();
        const auto* bgra = static_cast<const std::uint8_t*>(bits);
        rgba.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
        for (std::size_t i = 0; i < rgba.size(); i += 4) {
            rgba[i] = bgra[i + 2];
            rgba[i + 1] = bgra[i + 1];
            rgba[i + 2] = bgra[i];
            rgba[i + 3] = 255;
        }
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(window, source);
    return copied;
}

// Writes the window as a PNG file and names it on `out`; the problem, empty when written.
std::string Shoot(HWND window, const std::filesystem::path& file, std::ostream& out) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
    if (!CopyWindow(window, width, height, rgba))
        return PathToUtf8(file) + ": the window could not be copied";
    try {
        WritePng(file, width, height, rgba);
    } catch (const std::exception& error) {
        return error.what();
    }
    out << "Wrote " << PathToUtf8(file) << "\n";
    return std::string();
}

// Shows only the panel of the rollup window that holds `rollout`, so that it lies inside the editor.
void OpenOnly(HWND rollup, HWND rollout) {
    IRollupWindow* panels = GetIRollup(rollup);
    if (panels == nullptr)
        return;
    for (int i = 0; i < panels->GetNumPanels(); ++i)
        panels->SetPanelOpen(i, panels->GetPanelDlg(i) == rollout);
    panels->SetScrollPos(0);
    ReleaseIRollup(panels);
}

// Gives the rollouts the editor's whole client area, over the sample slot, with the editor at the screen's
// top: with the slot the editor is taller than a small screen allows, and what lies beyond the rollup's or
// the screen's edge is never painted.
void ShowWholeRollout(HWND editor, HWND rollup) {
    SetWindowPos(editor, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    if (GetClientRect(editor, &client))
        MoveWindow(rollup, 0, 0, client.right, client.bottom, TRUE);
}

// The reorder dialog is modal: a thread timer, which runs inside its message loop, starts a drag once the
// dialog shows, copies it on the next tick and cancels it.
struct ReorderShot {
    std::filesystem::path file;
    std::ostream* out = nullptr;
    std::string problem;
    int ticks = 0;
    bool dragStarted = false;
    bool done = false;
};
ReorderShot* reorderShot = nullptr;

// The reorder dialog of this thread, not one another program has open.
HWND FindReorderDialog() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM result) -> BOOL {
            wchar_t title[64] = {};
            GetWindowTextW(window, title, 64);
            if (std::wstring(title) != kReorderTitle)
                return TRUE;
            *reinterpret_cast<HWND*>(result) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

void CALLBACK ShootReorderDialog(HWND, UINT, UINT_PTR, DWORD) {
    ReorderShot& shot = *reorderShot;
    HWND dialog = FindReorderDialog();
    if (shot.done)
        return;
    if (dialog == nullptr || !IsWindowVisible(dialog)) {
        // The dialog never came: give up after a few seconds rather than wait for ever.
        if (++shot.ticks > 500) {
            shot.problem = "the reorder dialog did not open";
            shot.done = true;
        }
        return;
    }
    HWND frame = GetDlgItem(dialog, kSwatchFrame);
    RECT rect;
    GetClientRect(frame, &rect);
    MapWindowPoints(frame, dialog, reinterpret_cast<POINT*>(&rect), 2);
    if (!shot.dragStarted) {
        // Press on the first colour and drag it a little right and down: the preview shows the drag.
        const int cellHeight = rect.bottom - rect.top;
        PostMessageW(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rect.left + 4, rect.top + 4));
        PostMessageW(dialog, WM_MOUSEMOVE, MK_LBUTTON,
                     MAKELPARAM(rect.left + (rect.right - rect.left) / 3, rect.top + cellHeight / 3));
        shot.dragStarted = true;
        return;
    }
    shot.problem = Shoot(dialog, shot.file, *shot.out);
    shot.done = true;
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

} // namespace

int TakeScreenshots(EditorSession& session, const std::string& picture,
                    const std::filesystem::path& directory, std::ostream& out, std::ostream& err) {
    GetCOREInterface()->SetQuietMode(TRUE);
    MaterialEditor editor(session);
    if (!editor.Open(true, err))
        return 1;
    editor.PumpMessages();
    const auto fail = [&](const std::string& problem) {
        err << "chromasift: " << problem << "\n";
        return 1;
    };
    if (!picture.empty()) {
        EditAction choose;
        choose.kind = EditAction::Kind::Bitmap;
        choose.text = picture;
        if (std::string problem = ReplayEditAction(editor, session, choose, out); !problem.empty())
            return fail(problem);
    }
    HWND parameters = editor.ParametersRollout();
    HWND about = editor.AboutRollout();
    if (parameters == nullptr || about == nullptr)
        return fail("the map's rollouts are missing");

    OpenOnly(editor.Rollup(), about);
    editor.PumpMessages();
    if (std::string problem = Shoot(about, directory / "about.png", out); !problem.empty())
        return fail(problem);

    OpenOnly(editor.Rollup(), parameters);
    ShowWholeRollout(editor.Window(), editor.Rollup());
    editor.PumpMessages();
    const std::pair<const char*, const char*> categories[] = {
        {"Pixels", "parameters_pixels.png"},
        {"Coordinates", "parameters_coordinates.png"},
        {"Input map", "parameters_input_map.png"},
        {"Objects", "parameters_objects.png"},
    };
    for (const auto& [category, file] : categories) {
        EditAction choose;
        choose.kind = EditAction::Kind::Choose;
        choose.control = kMappingList;
        choose.text = category;
        if (std::string problem = ReplayEditAction(editor, session, choose, out); !problem.empty())
            return fail(problem);
        if (std::string problem = Shoot(parameters, directory / file, out); !problem.empty())
            return fail(problem);
    }

    ReorderShot shot;
    shot.file = directory / "reorder.png";
    shot.out = &out;
    reorderShot = &shot;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, ShootReorderDialog);
    SendMessageW(GetDlgItem(parameters, kManualButton), BM_CLICK, 0, 0);
    KillTimer(nullptr, timer);
    reorderShot = nullptr;
    if (!shot.done)
        return fail("the reorder dialog did not open: the map's palette is empty");
    if (!shot.problem.empty())
        return fail(shot.problem);
    return 0;
}

} // namespace host
