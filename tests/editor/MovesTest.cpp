// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/clsMoves.h"
#include "tests/editor/EditorFixture.h"

using namespace VKTCore;
using vkteditor::clsMoves;

namespace {

// Marks every byte of the image with its own address, so moves show up.
void MarkImage() {
    for (size_t a = 0; a < MemoryImage.size(); ++a) MemoryImage[a] = static_cast<uint8_t>(a * 7 + a / 256);
}

} // namespace

TEST_F(EditorTest, MovesRotateOnlyTheChannelSlotBlocks) {
    const std::tuple<int, int, std::vector<int>> cases[] = {
        // from, to, which old bank ends up in banks 1 ... 15
        {1, 15, {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 1}},
        {15, 1, {15, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}},
        {2, 4, {1, 3, 4, 2, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
        {4, 2, {1, 4, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
        {7, 7, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
    };
    for (const auto& [from, to, order] : cases) {
        MarkImage();
        const Image before = MemoryImage;
        clsMoves().moveGroups(from, to);
        for (int a = 0; a < ImageSize; ++a) {
            const int bank = a / 384;
            const bool slots = a % 384 < 128 && bank >= 1 && bank <= 15;
            const int source = slots ? 384 * order[static_cast<size_t>(bank - 1)] + a % 384 : a;
            ASSERT_EQ(MemoryImage[static_cast<size_t>(a)], before[static_cast<size_t>(source)]) << from << "->" << to << " at " << a;
        }
    }
}

TEST_F(EditorTest, MoveShowsTheGroupAgainFromTheImage) {
    main->txtPassWord.setText("424242");  // not stored: the move replaces it
    main->moveForm.cboFromBank.setText("2");
    main->moveForm.cboToBank.setText("1");
    VKTCore::MemoryImage[ChannelSlotAddress(1, 0)] = 0xC5;
    main->moveForm.btnMoveOK_Click();
    EXPECT_EQ(main->txtPassWord.Text(), "000000");
    EXPECT_EQ(cell(0, 1), StepsToMHzText(0xC500 + image(ChannelSlotAddress(0, 0) + 1)));
    EXPECT_EQ(cell(0, 5), "    Ch 1");  // labels stay where they were
}
