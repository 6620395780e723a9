#include "tests/tune/TuneFixture.h"

using namespace VKTCom;
using vkt::Answer;

TEST(TuneConverters, FrequencyAndChannelGuardBytes) {
    EXPECT_EQ(StepBytesToFreqText(0xC3, 0x00), "162.40000");
    EXPECT_EQ(*FreqToStepBytes(173.995), (std::array<uint8_t, 2>{0xE7, 0x3C}));  // 59196 steps
    EXPECT_FALSE(FreqToStepBytes(0).has_value());
    EXPECT_FALSE(FreqToStepBytes(182).has_value());
    EXPECT_EQ(*CGTextToBytes("67.0"), (std::array<uint8_t, 2>{6, 112}));
    EXPECT_EQ(*CGTextToBytes("100.0"), (std::array<uint8_t, 2>{0x10, 0x00}));
    EXPECT_EQ(*CGTextToBytes("d023-"), (std::array<uint8_t, 2>{0xC8, 0x13}));
    EXPECT_EQ(*CGTextToBytes("D754"), (std::array<uint8_t, 2>{0x89, 0xEC}));
    EXPECT_EQ(*CGTextToBytes("000.0"), (std::array<uint8_t, 2>{0, 0}));
    EXPECT_FALSE(CGTextToBytes("D0").has_value());
    EXPECT_EQ(CGBytesToText(0, 0), "000.0");
    EXPECT_EQ(CGBytesToText(16, 0), "100.0");
    EXPECT_EQ(CGBytesToText(0x08, 0x85), "088.5");
    EXPECT_EQ(CGBytesToText(0xC8, 0x13), "D023-");
    EXPECT_EQ(CGBytesToText(0x89, 0xEC), "D754");
}

TEST_F(TuneTest, AccessorsHookFirstAndReleaseAsTheySay) {
    TuneAccess& a = tune.access();
    EXPECT_EQ(a.ReadHighPowerDAC(false), 200);
    EXPECT_TRUE(link.RadioHooked);
    EXPECT_EQ(a.ReadLowPowerDAC(true), 120);
    EXPECT_FALSE(link.RadioHooked);
    EXPECT_TRUE(a.WriteModulation(0x55));
    EXPECT_EQ(ee(9), 0x55);
    EXPECT_FALSE(link.RadioHooked);
    EXPECT_TRUE(a.WriteNarrowFlag(0, 9, "N"));
    EXPECT_EQ(ee(256 + 34), 0x02);
    EXPECT_EQ(a.ReadNarrowFlag(0, 9), "N");
    EXPECT_EQ(a.ReadLowPowerFlag(0, 0), "-");
    EXPECT_TRUE(link.RadioHooked);  // flag accessors never release
}

TEST_F(TuneTest, AnUnpluggedRadioShowsTheHookMessageOnce) {
    radio().faults.silent = true;
    platform.answer(Answer::Cancel, RadioLink::HookPromptText);
    platform.answer(Answer::OK, RadioLink::HookErrorText);
    EXPECT_EQ(tune.access().ReadModulation(), -1);
    EXPECT_EQ(platform.boxes.size(), 2u);
    released();
}

TEST_F(TuneTest, ARadioThatDiesAfterTheHookShowsBothMessages) {
    ASSERT_TRUE(link.HookRadio());
    radio().faults.silent = true;
    platform.answer(Answer::OK, RadioLink::ReadEEByteError);
    platform.answer(Answer::OK, RadioLink::HookErrorText);
    int hi = 0, lo = 0;
    EXPECT_FALSE(tune.access().ReadPullCorrection(hi, lo));
    released();
}

TEST_F(TuneTest, ChannelDataBelowTheBandIsCheckedAndPutBackAsItWas) {
    const int slot = 256 + 128;
    radio().eeprom[slot] = 0x00;  // 100.08 MHz receive
    radio().eeprom[slot + 1] = 0x40;
    radio().eeprom[slot + 4] = 0x00;  // no transmit frequency
    radio().eeprom[slot + 5] = 0x00;
    ChannelSettings s;
    ASSERT_TRUE(tune.access().ReadChannelData(0, 0, s, false));
    EXPECT_EQ(s.RxFreq, 0);
    EXPECT_EQ(s.TxFreq, 148.0);
    EXPECT_EQ(s.RxCG, "000.0");
    EXPECT_EQ(s.Narrow, "-");
    const vktsim::Eeprom before = radio().eeprom;
    ASSERT_TRUE(tune.access().WriteChannelData(0, 0, s, true));
    EXPECT_EQ(radio().eeprom, before);  // never a frequency outside the step range
    released();
}
