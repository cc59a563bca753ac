// The manual reorder as plain data: moving one colour, and the palette an accepted reorder gives.
#include "ui/swatch_reorder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Entries told apart by their red channel, written as letters.
Palette Letters(const std::string& letters) {
    Palette list;
    for (char letter : letters) {
        PaletteEntry entry;
        entry.red = static_cast<std::uint16_t>(letter);
        list.push_back(entry);
    }
    return list;
}

std::string Spell(const Palette& list) {
    std::string letters;
    for (const PaletteEntry& entry : list)
        letters += static_cast<char>(entry.red);
    return letters;
}

std::string Moved(const std::string& letters, int source, int target) {
    Palette list = Letters(letters);
    MoveSwatch(list, source, target);
    return Spell(list);
}

TEST(SwatchReorder, AColourMovesToTheTargetAndTheOthersShiftTowardsItsPlace) {
    EXPECT_EQ(Moved("ABCDE", 0, 3), "BCDAE");
    EXPECT_EQ(Moved("ABCDE", 3, 0), "DABCE");
    EXPECT_EQ(Moved("ABCDE", 1, 4), "ACDEB");
    EXPECT_EQ(Moved("ABCDE", 4, 1), "AEBCD");
    EXPECT_EQ(Moved("ABCDE", 2, 3), "ABDCE");
    EXPECT_EQ(Moved("ABCDE", 3, 2), "ABDCE");
    EXPECT_EQ(Moved("AB", 1, 0), "BA");
}

TEST(SwatchReorder, NoMoveOntoItselfOrOutsideTheList) {
    EXPECT_EQ(Moved("ABCDE", 2, 2), "ABCDE");
    EXPECT_EQ(Moved("ABCDE", -1, 2), "ABCDE");
    EXPECT_EQ(Moved("ABCDE", 1, 5), "ABCDE");
    EXPECT_EQ(Moved("", 0, 0), "");
}

TEST(SwatchReorder, AcceptingKeepsTheColoursPastTheReorderedOnes) {
    EXPECT_EQ(Spell(ApplyReorder(Letters("ABCDEFG"), Letters("CAB"))), "CABDEFG");
    EXPECT_EQ(Spell(ApplyReorder(Letters("ABC"), Letters("BCA"))), "BCA");
    EXPECT_EQ(Spell(ApplyReorder(Letters("ABC"), Letters(""))), "ABC");
}

} // namespace
