#include "ui/documentation_link.h"

// The Linux build opens no documents.
void SystemShellOpen(HWND, const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*, int) {}
