#pragma once

// A dialog template as the resource compiler wrote it (the extended form), read back from its bytes so
// that tests can compare the built module's dialogs with what they must hold.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct DialogItem {
    std::uint32_t style = 0;
    std::uint32_t id = 0;
    // A predefined class by its ordinal (0x80 button, 0x82 static, 0x85 combo box), else by name.
    std::uint16_t classOrdinal = 0;
    std::u16string className;
    // The text, or a resource by its ordinal (a bitmap static's picture).
    std::uint16_t textOrdinal = 0;
    std::u16string text;
    int x = 0, y = 0, width = 0, height = 0;
};

struct DialogTemplate {
    std::uint32_t style = 0;
    int x = 0, y = 0, width = 0, height = 0;
    std::u16string title;
    int pointSize = 0;
    std::u16string font;
    std::vector<DialogItem> items;
};

// The template in `bytes`, or none when they are not a well-formed extended dialog template.
std::optional<DialogTemplate> ParseDialogTemplate(const std::uint8_t* bytes, std::size_t size);
