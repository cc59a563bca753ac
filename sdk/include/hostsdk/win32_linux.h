#pragma once

// Stand-ins for the Windows types and functions that portable plug-in code names, for the Linux build.
// Only the types' sizes and the functions' observable results matter; there is no window system here.
#include "hostsdk/sdk_api.h"

#include <cstdint>
#include <string>
#include <vector>

using BOOL = int;
using BYTE = unsigned char;
using WORD = unsigned short;
using DWORD = unsigned int;
using UINT = unsigned int;
using LONG = int;
using ULONG = unsigned int;
using USHORT = unsigned short;
using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using ULONG_PTR = std::uintptr_t;
using WPARAM = UINT_PTR;
using LPARAM = LONG_PTR;
using LRESULT = LONG_PTR;
using WCHAR = wchar_t;
using LPWSTR = wchar_t*;
using LPCWSTR = const wchar_t*;
using LPVOID = void*;

struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;
struct HWND__;
using HWND = HWND__*;
struct HIMAGELIST__;
using HIMAGELIST = HIMAGELIST__*;

#define WINAPI
#define CALLBACK
#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

constexpr DWORD DLL_PROCESS_DETACH = 0;
constexpr DWORD DLL_PROCESS_ATTACH = 1;
constexpr DWORD DLL_THREAD_ATTACH = 2;
constexpr DWORD DLL_THREAD_DETACH = 3;

constexpr UINT MB_OK = 0x0;
constexpr UINT MB_ICONHAND = 0x10;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_USER = 0x0400;
// Notification codes in the high word of a WM_COMMAND's wParam.
constexpr WORD BN_CLICKED = 0;
constexpr WORD CBN_SELCHANGE = 1;
constexpr WORD CBN_DROPDOWN = 7;
constexpr int IDOK = 1;

constexpr WORD LOWORD(std::uintptr_t value) {
    return static_cast<WORD>(value & 0xffff);
}
constexpr WORD HIWORD(std::uintptr_t value) {
    return static_cast<WORD>((value >> 16) & 0xffff);
}

// String resources: a module registers its string table under its module handle when it attaches, which
// is what the linker's resource section does on Windows.
struct ModuleString {
    UINT id;
    const wchar_t* text;
};
SDK_API void RegisterModuleStrings(HINSTANCE module, const ModuleString* strings, std::size_t count);
SDK_API void UnregisterModuleStrings(HINSTANCE module);

// Copies the string into the buffer, truncated to capacity - 1 characters and terminated; returns the
// number of characters copied, 0 when the module or the string is unknown.
SDK_API int LoadStringW(HINSTANCE module, UINT id, LPWSTR buffer, int capacity);

// Message boxes cannot appear without a window system: every call is recorded, printed to standard error
// and answered with IDOK.
struct RecordedMessageBox {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT type;
};
SDK_API int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
SDK_API std::vector<RecordedMessageBox> RecordedMessageBoxes();
SDK_API void ClearRecordedMessageBoxes();

// The C runtime's comparison ignoring letter case, as in its default locale: only the letters A to Z are
// folded (to lower case). Negative, zero or positive as a is below, equal to or above b.
SDK_API int _wcsicmp(const wchar_t* a, const wchar_t* b);
