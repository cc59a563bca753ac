// The swatches drawn on a memory device context and checked pixel by pixel (Windows build, under Wine):
// every pixel of the frame against the grid's rule, nothing drawn outside it, the drag preview clipped.
#include "plugin/resource_ids.h"
#include "ui/swatch_layout.h"
#include "ui/swatch_reorder.h"
#include "ui/swatches.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBackground = RGB(1, 2, 3); // what the context holds before drawing

PaletteEntry Colour(int i) {
    // Distinct, never white, and the low byte of each channel set so that only the high byte may show.
    PaletteEntry entry;
    entry.red = static_cast<std::uint16_t>(((i * 37) % 200) << 8 | 0xff);
    entry.green = static_cast<std::uint16_t>(((i * 91) % 250) << 8 | 0x7f);
    entry.blue = static_cast<std::uint16_t>(i << 8);
    return entry;
}

Palette Colours(int n) {
    Palette list;
    for (int i = 0; i < n; ++i)
        list.push_back(Colour(i));
    return list;
}

COLORREF Shown(const PaletteEntry& entry) {
    return RGB(entry.red >> 8, entry.green >> 8, entry.blue >> 8);
}

// A window with a swatch frame of the given size at 7, 5, drawn into a memory context of the window's
// size.
class SwatchDrawing : public ::testing::Test {
protected:
    void TearDown() override {
        theReorderState = ReorderState{};
        if (memory != nullptr) {
            SelectObject(memory, oldBitmap);
            DeleteObject(bitmap);
            DeleteDC(memory);
        }
        if (window != nullptr)
            DestroyWindow(window);
    }

    void Draw(int frameWidth, int frameHeight, int count, const Palette& entries) {
        width = frameWidth;
        height = frameHeight;
        if (window == nullptr) {
            window = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, frameWidth + 20, frameHeight + 20,
                                     nullptr, nullptr, nullptr, nullptr);
            ASSERT_NE(window, nullptr);
            CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE | SS_BLACKFRAME, kLeft, kTop, frameWidth,
                            frameHeight, window, reinterpret_cast<HMENU>(IDC_SWATCH_FRAME), nullptr, nullptr);
            memory = CreateCompatibleDC(nullptr);
            BITMAPINFO info{};
            info.bmiHeader.biSize = sizeof(info.bmiHeader);
            info.bmiHeader.biWidth = frameWidth + 20;
            info.bmiHeader.biHeight = -(frameHeight + 20);
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            void* bits = nullptr;
            bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
            ASSERT_NE(bitmap, nullptr);
            oldBitmap = SelectObject(memory, bitmap);
        }
        HBRUSH background = CreateSolidBrush(kBackground);
        RECT all{0, 0, frameWidth + 20, frameHeight + 20};
        FillRect(memory, &all, background);
        DeleteObject(background);
        DrawSwatches(window, memory, count, entries);
    }

    COLORREF At(int x, int y) const { return GetPixel(memory, kLeft + x, kTop + y); }

    // The grid's rule, pixel by pixel. With the null pen a rectangle fills one pixel short of its right and
    // bottom side: the frame's white leaves its last column and row as they were, and a cell's colour
    // covers k × width + 1 to (k + 1) × width − 2, so that two white lines part neighbouring cells. The
    // remainder is white, outside the frame nothing changes. Returns the number of wrong pixels and names
    // the first. A drag preview fills the given cell, clipped by the layout, in the same way.
    int Mismatches(int count, const Palette& entries, const SwatchRect* preview = nullptr) {
        const int columns = count < 25 ? count : 25;
        const int rows = columns == 0 ? 0 : (count + columns - 1) / columns;
        const int cellWidth = columns == 0 ? 0 : width / columns;
        const int cellHeight = rows == 0 ? 0 : height / rows;
        int wrong = 0;
        for (int y = -2; y < height + 2; ++y)
            for (int x = -2; x < width + 2; ++x) {
                COLORREF expected = kWhite;
                if (x < 0 || y < 0 || x >= width - 1 || y >= height - 1) {
                    expected = kBackground;
                } else if (cellWidth > 0 && cellHeight > 0 && !entries.empty()) {
                    const int k = x / cellWidth;
                    const int r = y / cellHeight;
                    const int i = r * columns + k;
                    const bool insideX = x % cellWidth != 0 && x % cellWidth != cellWidth - 1;
                    const bool insideY = y % cellHeight != 0 && y % cellHeight != cellHeight - 1;
                    if (k < columns && r < rows && insideX && insideY && i < static_cast<int>(entries.size()))
                        expected = Shown(entries[static_cast<std::size_t>(i)]);
                    if (preview != nullptr && x >= preview->left && x < preview->right - 1 &&
                        y >= preview->top && y < preview->bottom - 1)
                        expected = Shown(entries[static_cast<std::size_t>(theReorderState.dragSource)]);
                }
                const COLORREF actual = At(x, y);
                if (actual != expected && wrong++ == 0)
                    ADD_FAILURE() << "pixel " << x << ", " << y << " of a " << width << " x " << height
                                  << " frame with " << count << " colours: " << std::hex << actual
                                  << " instead of " << expected;
            }
        return wrong;
    }

    static constexpr int kLeft = 7;
    static constexpr int kTop = 5;
    HWND window = nullptr;
    HDC memory = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ oldBitmap = nullptr;
    int width = 0;
    int height = 0;
};

// Frames of every shape, counts around the 25-cell rows, and lists shorter or longer than the count.
TEST_F(SwatchDrawing, EveryPixelFollowsTheGrid) {
    const struct {
        int width, height, count, entries;
    } rows[] = {
        {300, 61, 0, 0},   {300, 61, 1, 1},     {300, 61, 7, 7},   {300, 61, 25, 25}, {300, 61, 26, 26},
        {300, 61, 30, 30}, {300, 61, 100, 100}, {301, 63, 26, 26}, {37, 11, 7, 7},    {26, 3, 100, 100},
        {24, 20, 30, 30},  {1, 1, 1, 1},        {5, 1, 2, 2},      {250, 40, 10, 3},  {250, 40, 10, 0},
        {300, 61, 26, 30}, // the palette shows as far as it goes, also past the count
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.width << " x " << row.height << ", " << row.count << " cells, "
                                        << row.entries << " colours");
        const Palette entries = Colours(row.entries);
        Draw(row.width, row.height, row.count, entries);
        EXPECT_EQ(Mismatches(row.count, entries), 0);
        TearDown();
        window = nullptr;
        memory = nullptr;
    }
}

TEST_F(SwatchDrawing, EveryCellsBrushIsDeletedAgain) {
    // 70,000 cells: more brushes than a process may hold at once, so a brush kept would leave later cells
    // unpainted.
    const Palette entries = Colours(100);
    for (int paint = 0; paint < 700; ++paint)
        Draw(300, 61, 100, entries);
    EXPECT_EQ(Mismatches(100, entries), 0);
}

// Where the preview cell lies is the layout's; here it is filled over the cells and lines, clipped to the
// frame, and nothing is drawn for it far outside the frame or without a drag.
TEST_F(SwatchDrawing, APendingDragShowsTheDraggedColourUnderTheMouse) {
    const Palette entries = Colours(7); // cells 42 × 60 in a 300 × 60 frame
    const int rows[][3] = {
        {2, 100, 30}, {2, 295, 59}, {6, 3, 0}, {2, -200, 30}, {-1, 100, 30}}; // source, x, y
    for (const auto& [source, x, y] : rows) {
        SCOPED_TRACE(testing::Message() << "colour " << source << " at " << x << ", " << y);
        theReorderState.dragSource = source;
        theReorderState.dragX = x;
        theReorderState.dragY = y;
        Draw(300, 60, 7, entries);
        const SwatchRect cell = DragPreviewCell({0, 0, 300, 60}, LayOutSwatches(300, 60, 7), x, y);
        EXPECT_EQ(Mismatches(7, entries, source >= 0 ? &cell : nullptr), 0);
    }
}

} // namespace
