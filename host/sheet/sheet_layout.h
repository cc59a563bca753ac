#pragma once

// Where the parts of a contact sheet go: a title line, a grid of cells (a picture over its label), and
// the palette strip to the right of the grid.
namespace host {

struct SheetLayout {
    int columns = 0, rows = 0;
    int cellWidth = 0, cellHeight = 0; // the pictures
    int labelHeight = 0;               // the band under each picture: the label, then a note line
    int margin = 0;                    // around and between everything
    int titleHeight = 0;
    int stripWidth = 0;
    float textHeight = 0.0f; // pixel height of labels
    float noteHeight = 0.0f; // pixel height of the notes under them

    int Width() const { return margin + columns * (cellWidth + margin) + stripWidth + margin; }
    int Height() const { return margin + titleHeight + rows * (cellHeight + labelHeight + margin); }
    int CellX(int index) const { return margin + (index % columns) * (cellWidth + margin); }
    int CellY(int index) const {
        return margin + titleHeight + (index / columns) * (cellHeight + labelHeight + margin);
    }
    // Where the label and the note under a cell's picture start (the top of their text).
    int LabelY(int index) const {
        return CellY(index) + cellHeight + (LabelLine() - static_cast<int>(textHeight * 1.2f)) / 2;
    }
    int NoteY(int index) const { return CellY(index) + cellHeight + LabelLine(); }
    int LabelLine() const { return static_cast<int>(textHeight * 1.5f); }
    int StripX() const { return margin + columns * (cellWidth + margin); }
    int StripY() const { return margin + titleHeight; }
    int StripHeight() const { return rows * (cellHeight + labelHeight + margin) - margin; }
};

// The layout of `cells` pictures of the given size: six to a row (fewer when there are fewer cells), text
// scaled with the cells but never below a legible size, and room under each label for a line of note.
SheetLayout LayOutSheet(int cells, int cellWidth, int cellHeight);

} // namespace host
