// The message box of a failed extraction, read back from the Linux build's recording of message boxes.
#include "map_test_support.h"

#include "plugin/param_ids.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(ExtractionMessage, AnUnreadableBitmapIsReportedUnlessQuiet) {
    MapPtr map = NewMap();
    BitmapInfo missing;
    missing.SetName(L"no-such-picture.png");
    ClearRecordedMessageBoxes();
    GetCOREInterface()->SetQuietMode(FALSE);
    map->ExtractPalette(missing, 10, 0);
    const std::vector<RecordedMessageBox> boxes = RecordedMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Error loading bitmap.");
    EXPECT_EQ(boxes[0].caption, L"Error");
    EXPECT_EQ(boxes[0].type, 0x10u);
    EXPECT_EQ(boxes[0].owner, GetCOREInterface()->GetMAXHWnd());

    GetCOREInterface()->SetQuietMode(TRUE);
    map->ExtractPalette(missing, 10, 0);
    EXPECT_EQ(RecordedMessageBoxes().size(), 1u) << "quiet mode shows nothing";
    GetCOREInterface()->SetQuietMode(FALSE);
}

// A count change after the picture was deleted reads the file again, fails, and says so.
TEST(ExtractionMessage, ARereadOfADeletedPictureIsReported) {
    const std::filesystem::path copy = std::filesystem::temp_directory_path() / "message_reextract.png";
    std::filesystem::copy_file(TestDataFile("images/rubberwhale1.png"), copy,
                               std::filesystem::copy_options::overwrite_existing);
    MapPtr map = NewMap();
    BitmapInfo picture;
    picture.SetName(copy.wstring().c_str());
    GetCOREInterface()->SetQuietMode(FALSE);
    map->ExtractPalette(picture, 10, 0);
    ASSERT_EQ(map->GetPalette()->size(), 10u);
    std::filesystem::remove(copy);
    ClearRecordedMessageBoxes();
    map->ReextractPalette(picture, 5, 0);
    EXPECT_EQ(RecordedMessageBoxes().size(), 1u);
    EXPECT_EQ(map->GetPalette()->size(), 10u);
}

} // namespace
