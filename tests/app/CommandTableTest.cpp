// The command table's invariants: one row, one key and one handler per
// command, the menu's own commands as they always were, the keys the table
// does not hold; and the bounds of the caption-look commands.

#include "app/CommandTable.h"
#include "app/SubtitleCommands.h"
#include "resources/CommandIds.h"
#include "subtitles/SubtitleStyle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <string_view>
#include <span>
#include <vector>

namespace velmo {
namespace {

constexpr int kCtrl = Qt::ControlModifier;
constexpr int kAlt = Qt::AltModifier;

/// The command ids of the menu's entries, popups walked, in order.
void CollectMenuIds(std::span<const MenuEntry> entries, std::vector<int> &ids)
{
    for (const MenuEntry &e : entries) {
        if (e.kind == MenuEntry::Command)
            ids.push_back(e.id);
        else if (!e.items.empty())
            CollectMenuIds(e.items, ids);
    }
}

TEST(CommandTable, MenuAndTableHoldTheSameCommandsOnceEachWithAHandler)
{
    std::vector<int> menuIds;
    CollectMenuIds(ContextMenuEntries(), menuIds);
    std::set<int> tableIds;
    for (const CommandRow &row : CommandTable()) {
        EXPECT_TRUE(tableIds.insert(row.id).second) << row.name << " stands twice";
        EXPECT_TRUE(FindCommandHandler(row.id)) << row.name << " does nothing";
    }
    EXPECT_EQ(std::set<int>(menuIds.begin(), menuIds.end()).size(), menuIds.size()) << "an entry stands twice";
    EXPECT_EQ(std::set<int>(menuIds.begin(), menuIds.end()), tableIds);

    // Ids that reach the window without a row of their own.
    const std::pair<int, bool> outside[] = {
        {IDM_ABOUTBOX, true}, {ID_FILTER_FIRST, true}, {ID_FILTER_LAST, true},
        {ID_FILTER_LAST + 1, false}, {ID_HELP, false}, {0, false},
        {ID_AUDIO_TRACK_FIRST, true}, {ID_SUBTITLE_TRACK_NONE, true}, {ID_SUBTITLE_TRACK_NONE + 1, false},
    };
    for (const auto &[id, handled] : outside)
        EXPECT_EQ(FindCommandHandler(id) != nullptr, handled) << id;
}

TEST(CommandTable, TheCaptionEncodingsCloseTheSubtitleMenu)
{
    const auto &entries = ContextMenuEntries();
    const auto subtitles = std::find_if(entries.begin(), entries.end(), [](const MenuEntry &e) {
        return e.kind == MenuEntry::Popup && std::string_view(e.text) == "자막설정";
    });
    ASSERT_NE(subtitles, entries.end());
    const MenuEntry &last = subtitles->items.back();
    ASSERT_EQ(last.kind, MenuEntry::Popup);
    EXPECT_EQ(std::string_view(last.text), "자막 인코딩");
    std::vector<std::string> labels;
    for (const MenuEntry &e : last.items) {
        const CommandRow *row = FindCommand(e.id);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->key.key, 0) << row->name;
        EXPECT_TRUE(row->needsMedia) << row->name;
        labels.push_back(row->label);
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"자동", "UTF-8", "CP949", "Windows-1252", "Shift_JIS", "GB18030", "Big5",
                                                "UTF-16"}));
}

TEST(CommandTable, EachKeyRaisesItsOwnCommandAndNoOther)
{
    std::set<std::pair<int, int>> keys;
    int withKeys = 0;
    for (const CommandRow &row : CommandTable()) {
        if (row.key.key == 0)
            continue;
        // Ours are numbered apart from the resource's, from 33001 to 39999.
        if (row.id < ID_CAPTION_EARLIER || row.id > 39999)
            ++withKeys;
        EXPECT_TRUE(keys.insert({row.key.key, row.key.modifiers}).second) << row.name << " shares its key";
        EXPECT_EQ(row.key.modifiers & ~(kCtrl | kAlt), 0) << row.name;
        EXPECT_EQ(AcceleratorCommand(row.key.key, Qt::KeyboardModifiers(row.key.modifiers)), row.id) << row.name;
    }
    // The resource's 35 and the four keys its labels name: the rates and caption visibility.
    EXPECT_EQ(withKeys, 39);
}

TEST(CommandTable, KeysTheTableDoesNotHold)
{
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        int id;
    } cases[] = {
        {Qt::Key_4, Qt::ControlModifier, 0},             // no rate of its own
        {Qt::Key_T, Qt::NoModifier, 0},
        {Qt::Key_1, Qt::AltModifier, 0},
        {Qt::Key_1, Qt::KeypadModifier, 0},              // the keypad's digits are other keys
        {Qt::Key_S, Qt::ShiftModifier, 0},               // no entry has Shift
        {Qt::Key_PageUp, Qt::NoModifier, 0},             // pages go to a focused slider
        {Qt::Key_X, Qt::NoModifier, ID_MUTE},            // X mutes, whatever the exit label shows
        {Qt::Key_Enter, Qt::KeypadModifier, ID_FULL_SCREEN}, // either Enter key
        {Qt::Key_Left, Qt::KeypadModifier, ID_BACK_5S},
    };
    for (const Case &c : cases)
        EXPECT_EQ(AcceleratorCommand(c.key, c.modifiers), c.id) << c.key << " " << int(c.modifiers);
}

TEST(SubtitleCommands, StepsStayWithinTheirBoundsAndRebuildTheFont)
{
    SubtitleStyle style(std::string("/nonexistent/velmo_init.ini"));
    struct Case {
        int id;
        int size, position, weight; // before
        int expectSize, expectPosition, expectWeight;
        bool rebuilds;
    } cases[] = {
        {ID_FONT_BIGGER, 80, 50, 400, 80, 50, 400, true},
        {ID_FONT_BIGGER, 79, 50, 400, 80, 50, 400, true},
        {ID_FONT_SMALLER, 10, 50, 400, 10, 50, 400, true},
        {ID_SUBTITLE_UP, 20, 100, 400, 20, 100, 400, false},
        {ID_SUBTITLE_UP, 20, 99, 400, 20, 100, 400, false},
        {ID_SUBTITLE_DOWN, 20, 0, 400, 20, 0, 400, false},
        {ID_SUBTITLE_BOLD, 20, 0, 0, 20, 0, 700, true},
        {ID_SUBTITLE_BOLD, 20, 0, 700, 20, 0, 400, true},
    };
    for (const Case &c : cases) {
        style.Size = c.size;
        style.Position = c.position;
        style.Style = c.weight;
        style.font = QFont(QStringLiteral("marker"));
        ApplySubtitleCommand(style, c.id);
        EXPECT_EQ(style.Size, c.expectSize) << c.id;
        EXPECT_EQ(style.Position, c.expectPosition) << c.id;
        EXPECT_EQ(style.Style, c.expectWeight) << c.id;
        EXPECT_EQ(style.font->family() != QStringLiteral("marker"), c.rebuilds) << c.id;
    }
}
} // namespace
} // namespace velmo
