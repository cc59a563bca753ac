#include "dialog_template.h"

namespace {

// Reads the template's little-endian fields in order, remembering when it ran past the end.
class Reader {
public:
    Reader(const std::uint8_t* bytes, std::size_t size) : bytes(bytes), size(size) {}

    std::uint16_t Word() {
        if (at + 2 > size) {
            failed = true;
            return 0;
        }
        const auto value = static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
        at += 2;
        return value;
    }
    std::uint32_t DoubleWord() {
        const std::uint32_t low = Word();
        return low | static_cast<std::uint32_t>(Word()) << 16;
    }
    short Short() { return static_cast<short>(Word()); }
    std::uint8_t Byte() {
        if (at + 1 > size) {
            failed = true;
            return 0;
        }
        return bytes[at++];
    }
    std::u16string String() {
        std::u16string text;
        for (std::uint16_t c = Word(); c != 0 && !failed; c = Word())
            text.push_back(static_cast<char16_t>(c));
        return text;
    }
    // A field that is empty (0), an ordinal (0xFFFF then the number) or a string.
    void StringOrOrdinal(std::uint16_t& ordinal, std::u16string& text) {
        const std::size_t start = at;
        const std::uint16_t first = Word();
        if (first == 0xFFFF) {
            ordinal = Word();
        } else if (first != 0) {
            at = start;
            text = String();
        }
    }
    void AlignToDoubleWord() { at = (at + 3) & ~std::size_t{3}; }
    void Skip(std::size_t count) { at += count; }
    bool Failed() const { return failed || at > size; }

private:
    const std::uint8_t* bytes;
    std::size_t size;
    std::size_t at = 0;
    bool failed = false;
};

constexpr std::uint32_t kSetFont = 0x40; // DS_SETFONT

} // namespace

std::optional<DialogTemplate> ParseDialogTemplate(const std::uint8_t* bytes, std::size_t size) {
    Reader in(bytes, size);
    if (in.Word() != 1 || in.Word() != 0xFFFF)
        return std::nullopt;
    DialogTemplate dialog;
    in.DoubleWord(); // help context
    in.DoubleWord(); // extended style
    dialog.style = in.DoubleWord();
    const int count = in.Word();
    dialog.x = in.Short();
    dialog.y = in.Short();
    dialog.width = in.Short();
    dialog.height = in.Short();
    std::uint16_t ordinal = 0;
    std::u16string ignored;
    in.StringOrOrdinal(ordinal, ignored); // menu
    in.StringOrOrdinal(ordinal, ignored); // window class
    dialog.title = in.String();
    if (dialog.style & kSetFont) {
        dialog.pointSize = in.Word();
        in.Word(); // weight
        in.Byte(); // italic
        in.Byte(); // character set
        dialog.font = in.String();
    }
    for (int i = 0; i < count && !in.Failed(); ++i) {
        in.AlignToDoubleWord();
        DialogItem item;
        in.DoubleWord(); // help context
        in.DoubleWord(); // extended style
        item.style = in.DoubleWord();
        item.x = in.Short();
        item.y = in.Short();
        item.width = in.Short();
        item.height = in.Short();
        item.id = in.DoubleWord();
        in.StringOrOrdinal(item.classOrdinal, item.className);
        in.StringOrOrdinal(item.textOrdinal, item.text);
        in.Skip(in.Word()); // creation data
        dialog.items.push_back(item);
    }
    if (in.Failed())
        return std::nullopt;
    return dialog;
}
