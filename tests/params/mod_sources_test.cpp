// Source tables and source menus that the editor shows.
#include "params/mod_sources.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "params/source_menus.h"

namespace quenvale {
namespace {

TEST(ModSourceTables, ShortNamesFlagsAndColoursInNumberOrder) {
    const auto voice = voiceSourceTable();
    ASSERT_EQ(voice.size(), 157u);
    auto at = [&voice](int32_t s) { return voice[static_cast<size_t>(s - 1)]; };
    EXPECT_STREQ(at(1).shortName, "E1");
    EXPECT_STREQ(at(6).shortName, "E6");
    EXPECT_STREQ(at(7).shortName, "L1");
    EXPECT_STREQ(at(14).shortName, "L8");
    EXPECT_STREQ(at(15).shortName, "G1");
    EXPECT_STREQ(at(18).shortName, "G4");
    EXPECT_STREQ(at(19).shortName, "V");
    EXPECT_STREQ(at(20).shortName, "00");
    EXPECT_STREQ(at(20 + 0x76).shortName, "76");
    EXPECT_STREQ(at(20 + 0x2A).shortName, "2A");
    EXPECT_STREQ(at(147).shortName, "7F");
    EXPECT_STREQ(at(148).shortName, "M1");
    EXPECT_STREQ(at(153).shortName, "M6");
    EXPECT_STREQ(at(154).shortName, "S1");
    EXPECT_STREQ(at(157).shortName, "S4");
    for (int32_t s = 1; s <= 157; ++s) {
        const uint32_t colour = s <= 6     ? 0x7E61C5u
                                : s <= 14  ? 0x588C62u
                                : s <= 18  ? 0x79793Bu
                                : s == 19  ? 0xC56165u
                                : s <= 147 ? 0xC58CC5u
                                : s <= 153 ? 0x7EC561u
                                           : 0x5879C5u;
        EXPECT_EQ(at(s).colour, colour) << s;
        EXPECT_EQ(at(s).bipolar, s >= 7 && s <= 18) << s;
    }

    const auto channel = channelSourceTable();
    ASSERT_EQ(channel.size(), 138u);
    for (int32_t s = 1; s <= 138; ++s) {
        // The channel numbering is the voice numbering's channel-wide part, renumbered.
        const int32_t voiceNumber = s <= 4 ? s + 14 : s + 15;
        EXPECT_STREQ(channel[static_cast<size_t>(s - 1)].shortName, at(voiceNumber).shortName) << s;
        EXPECT_EQ(channel[static_cast<size_t>(s - 1)].colour, at(voiceNumber).colour) << s;
        EXPECT_EQ(channel[static_cast<size_t>(s - 1)].bipolar, s <= 4) << s;
    }
}

TEST(ModSourceTables, NumberingIsChosenByName) {
    EXPECT_TRUE(usesChannelNumbering("ChLfo1 Offset ModSrc1"));
    EXPECT_TRUE(usesChannelNumbering("ChFx2 Dry/Wet ModSrc2"));
    EXPECT_FALSE(usesChannelNumbering("StepSeq1 Out ModSrc1"));
    EXPECT_FALSE(usesChannelNumbering("Gain ModSrc1"));
    EXPECT_FALSE(usesChannelNumbering("C"));
    EXPECT_FALSE(usesChannelNumbering(nullptr));
    EXPECT_TRUE(isSlotSourceName("Lfo3 Ratio ModSrc2"));
    EXPECT_FALSE(isSlotSourceName("Lfo3 Ratio ModAmt2"));
}

// Depth-first walk over a menu tree.
void walk(const std::vector<SourceMenuItem>& items, const std::function<void(const SourceMenuItem&)>& visit) {
    for (const SourceMenuItem& item : items) {
        visit(item);
        walk(item.children, visit);
    }
}

std::string outline(const std::vector<SourceMenuItem>& items) {
    std::string s;
    for (const SourceMenuItem& item : items) {
        s += item.type == SourceMenuItemType::Separator ? std::string("-") : item.text;
        s += "|";
    }
    return s;
}

// Each menu offers every source of its numbering exactly once, plus "No Modulation".
void expectEverySourceOnce(const std::vector<SourceMenuItem>& menu, int32_t sourceCount) {
    std::multiset<int32_t> commands;
    walk(menu, [&](const SourceMenuItem& item) {
        if (item.type == SourceMenuItemType::Command) commands.insert(item.command);
        if (item.type == SourceMenuItemType::Submenu) {
            EXPECT_FALSE(item.children.empty()) << item.text;
        }
    });
    ASSERT_EQ(commands.size(), static_cast<size_t>(sourceCount));
    int32_t expected = -1;
    for (int32_t id : commands) EXPECT_EQ(id, expected++);
}

TEST(SourceMenus, VoiceMenu) {
    const auto& menu = voiceSourceMenu();
    EXPECT_EQ(outline(menu),
              "No Modulation|-|Voice Envelopes|Voice Lfos|Voice StepSeqs|Voice Parameters|-|Channel Lfos|"
              "Channel Controllers|-|MacroParams|");
    expectEverySourceOnce(menu, 158);
    EXPECT_EQ(menu[0].command, -1);
    EXPECT_EQ(sourceFromMenuCommand(menu[0].command), 0);
    const SourceMenuItem& thirdLfo = menu[3].children[2];
    EXPECT_EQ(thirdLfo.text, "Voice Lfo 3");
    EXPECT_EQ(thirdLfo.command, 8);
    EXPECT_EQ(sourceFromMenuCommand(thirdLfo.command), 9);
    EXPECT_EQ(voiceSourceTable()[static_cast<size_t>(thirdLfo.command)].shortName, std::string("L3"));
    EXPECT_EQ(menu[2].children[5].text, "Voice Envelope 6");
    EXPECT_EQ(menu[4].children[0].text, "Voice StepSeq 1");
    EXPECT_EQ(menu[4].children[0].command, 153);
    EXPECT_EQ(menu[5].children[0].text, "Voice Velocity");
    EXPECT_EQ(menu[5].children[0].command, 18);
    EXPECT_EQ(menu[7].children[3].text, "Channel Lfo 4");
    EXPECT_EQ(menu[7].children[3].command, 17);
    const SourceMenuItem& controllers = menu[8];
    ASSERT_EQ(controllers.children.size(), 8u);
    EXPECT_EQ(controllers.children[0].text, "Channel Controllers 00 - 0F (0 - 15)");
    EXPECT_EQ(controllers.children[7].text, "Channel Controllers 70 - 7F (112 - 127)");
    const SourceMenuItem& c118 = controllers.children[7].children[6];
    EXPECT_EQ(c118.text, "Channel Controller 76 (118)");
    EXPECT_EQ(c118.command, 137);
    EXPECT_EQ(menu[10].children[1].text, "MacroParam 2");
    EXPECT_EQ(menu[10].children[1].command, 148);
}

TEST(SourceMenus, ChannelMenu) {
    const auto& menu = channelSourceMenu();
    EXPECT_EQ(outline(menu), "No Modulation|-|Channel Lfos|Channel Controllers|-|MacroParams|");
    expectEverySourceOnce(menu, 139);
    EXPECT_EQ(menu[2].children[0].text, "Channel-Lfo 1");
    EXPECT_EQ(menu[2].children[0].command, 0);
    EXPECT_EQ(menu[3].children[0].text, "Controllers 00 - 0F (0 - 15)");
    EXPECT_EQ(menu[3].children[0].children[7].text, "Controller 07 (7)");
    EXPECT_EQ(sourceFromMenuCommand(menu[3].children[0].children[7].command), 12);
    EXPECT_EQ(menu[3].children[7].text, "Controllers 70 - 7F (112 - 127)");
    EXPECT_EQ(menu[5].children[5].text, "MacroParam 6");
    EXPECT_EQ(menu[5].children[5].command, 137);
}

}  // namespace
}  // namespace quenvale
