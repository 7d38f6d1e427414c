// Source tables and source menus that the editor shows.
#include "params/mod_sources.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "params/source_menus.h"

namespace quenvale {
namespace {

TEST(ModSourceTables, TheChannelTableIsTheVoiceTablesChannelPart) {
    const auto voice = voiceSourceTable();
    const auto channel = channelSourceTable();
    std::string spots;
    for (int32_t s : {1, 14, 19, 20, 62, 147, 148, 157}) spots += std::string(voice[s - 1].shortName) + "|";
    EXPECT_EQ(spots, "E1|L8|V|00|2A|7F|M1|S4|");
    for (int32_t s = 1; s <= 138; ++s) {
        const auto &own = channel[s - 1], &same = voice[s <= 4 ? s + 13 : s + 14];
        EXPECT_STREQ(own.shortName, same.shortName) << s;
        EXPECT_EQ(own.colour, same.colour) << s;
        EXPECT_EQ(own.bipolar, s <= 4) << s;
    }
}

// Each menu offers every source of its numbering once, plus "No Modulation" (-1 → source 0).
void expectEverySourceOnce(const std::vector<SourceMenuItem>& menu, int32_t sourceCount) {
    std::multiset<int32_t> commands;
    std::function<void(const std::vector<SourceMenuItem>&)> walk = [&](const auto& items) {
        for (const SourceMenuItem& item : items) {
            if (item.type == SourceMenuItemType::Command) commands.insert(item.command);
            walk(item.children);
        }
    };
    walk(menu);
    ASSERT_EQ(commands.size(), static_cast<size_t>(sourceCount));
    int32_t expected = -1;
    for (int32_t id : commands) EXPECT_EQ(id, expected++);
    EXPECT_EQ(menu[0].text, "No Modulation");
    EXPECT_EQ(sourceFromMenuCommand(menu[0].command), 0);
}

TEST(SourceMenus, EachMenuOffersItsSourcesOnceUnderTheirTexts) {
    expectEverySourceOnce(voiceSourceMenu(), 158);
    const SourceMenuItem& c118 = voiceSourceMenu()[8].children[7].children[6];
    EXPECT_EQ(c118.text, "Channel Controller 76 (118)");
    EXPECT_EQ(sourceFromMenuCommand(c118.command), 138);
    expectEverySourceOnce(channelSourceMenu(), 139);
    const SourceMenuItem& c7 = channelSourceMenu()[3].children[0].children[7];
    EXPECT_EQ(c7.text, "Controller 07 (7)");
    EXPECT_EQ(sourceFromMenuCommand(c7.command), 12);
}

}  // namespace
}  // namespace quenvale
