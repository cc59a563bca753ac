#include "ui/documentation_link.h"

ShellOpenFunction& DocumentationShell() {
    static ShellOpenFunction shell = SystemShellOpen;
    return shell;
}

void OpenDocumentation(HWND owner) {
    if (const ShellOpenFunction& shell = DocumentationShell())
        shell(owner, L"open", kDocumentationAddress, nullptr, nullptr, kShowNormal);
}
