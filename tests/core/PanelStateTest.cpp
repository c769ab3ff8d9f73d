// The three copies of the panel state and the two change tests.
#include <gtest/gtest.h>

#include "core/PanelState.h"

namespace
{

TEST(PanelState, StartsUnchangedWithFactoryCopies)
{
    const qv::PanelState state;
    EXPECT_EQ(state.workingBlock, qv::FactoryDefaults);
    EXPECT_EQ(state.savedBlock, qv::FactoryDefaults);
    EXPECT_EQ(state.sentBlock, qv::FactoryDefaults);
    EXPECT_FALSE(state.HasUnsentChanges());
    EXPECT_FALSE(state.HasUnsavedChanges());
}

TEST(PanelState, AnyChangedByteCountsAndChangingItBackClearsIt)
{
    qv::PanelState state;
    for (std::size_t at = 0; at < qv::kBlockSize; ++at) {
        const std::uint8_t original = state.workingBlock[at];
        state.workingBlock[at] = static_cast<std::uint8_t>(original ^ 0x01);
        EXPECT_TRUE(state.HasUnsentChanges()) << "byte " << at;
        EXPECT_TRUE(state.HasUnsavedChanges()) << "byte " << at;
        state.workingBlock[at] = original;
        EXPECT_FALSE(state.HasUnsentChanges()) << "byte " << at;
        EXPECT_FALSE(state.HasUnsavedChanges()) << "byte " << at;
    }
}

TEST(PanelState, TheLastPaddingByteCounts)
{
    qv::PanelState state;
    state.workingBlock[269] = 0x80;
    EXPECT_TRUE(state.HasUnsentChanges());
    EXPECT_TRUE(state.HasUnsavedChanges());
}

TEST(PanelState, EachTestComparesWithItsOwnCopy)
{
    qv::PanelState state;
    state.workingBlock[100] = '9';
    state.sentBlock = state.workingBlock; // sent but not saved
    EXPECT_FALSE(state.HasUnsentChanges());
    EXPECT_TRUE(state.HasUnsavedChanges());

    state.savedBlock = state.workingBlock;
    state.sentBlock = qv::FactoryDefaults; // saved but not sent
    EXPECT_TRUE(state.HasUnsentChanges());
    EXPECT_FALSE(state.HasUnsavedChanges());
}

} // namespace
