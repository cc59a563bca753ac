#include "hostsdk/file_chooser.h"

#include <commdlg.h>

#include <utility>

namespace {

bool SystemOpenFileDialog(HWND owner, const MSTR& current, MSTR& chosen) {
    wchar_t path[MAX_PATH] = {};
    current.copy(path, MAX_PATH - 1);
    OPENFILENAMEW request{};
    request.lStructSize = sizeof(request);
    request.hwndOwner = owner;
    request.lpstrFilter = L"Images\0*.png;*.jpg;*.jpeg;*.bmp;*.tga;*.hdr;*.exr\0All files\0*.*\0";
    request.lpstrFile = path;
    request.nMaxFile = MAX_PATH;
    request.lpstrTitle = L"Select Bitmap Image File";
    request.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameW(&request))
        return false;
    chosen = path;
    return true;
}

BitmapFileChooser& Chooser() {
    static BitmapFileChooser chooser;
    return chooser;
}

} // namespace

bool ChooseBitmapFile(HWND owner, const MSTR& current, MSTR& chosen) {
    return Chooser() ? Chooser()(owner, current, chosen) : SystemOpenFileDialog(owner, current, chosen);
}

BitmapFileChooser SetBitmapFileChooser(BitmapFileChooser chooser) {
    return std::exchange(Chooser(), std::move(chooser));
}
