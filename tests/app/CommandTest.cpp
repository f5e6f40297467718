// The command table's invariants (one row, one key and one handler per
// command), key routing through the window and its panels, the context menu
// and the caption-look commands.

#include "MainWindowFixture.h"

#include "app/AboutDialog.h"
#include "app/CommandHandlers.h"
#include "app/OpenUrlDialog.h"
#include "app/SubtitleCommands.h"
#include "controls/ControlPanel.h"
#include "controls/SkinSlider.h"
#include "screen/VideoScreen.h"
#include "resources/CommandIds.h"
#include "app/CommandTable.h"
#include "subtitles/SubtitleSettingsDialog.h"

#include <QCheckBox>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <set>
#include <span>

namespace velmo::test {
namespace {

using ::testing::Contains;
using ::testing::Not;

constexpr int kCtrl = Qt::ControlModifier;
constexpr int kAlt = Qt::AltModifier;

/// The command ids of the menu's entries, popups walked, in order.
void CollectMenuIds(std::span<const MenuEntry> entries, std::vector<int> &ids)
{
    for (const MenuEntry &e : entries) {
        if (e.kind == MenuEntry::Command)
            ids.push_back(e.id);
        else if (e.kind == MenuEntry::Popup || e.kind == MenuEntry::RecentFiles)
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
    };
    for (const auto &[id, handled] : outside)
        EXPECT_EQ(FindCommandHandler(id) != nullptr, handled) << id;
}

TEST(CommandTable, EachKeyRaisesItsOwnCommandAndNoOther)
{
    std::set<std::pair<int, int>> keys;
    int withKeys = 0;
    for (const CommandRow &row : CommandTable()) {
        if (row.key.key == 0)
            continue;
        // Ours are numbered apart from the resource's, from 33001 on.
        if (row.id < ID_CAPTION_EARLIER || row.id > ID_SCREENSHOT)
            ++withKeys;
        EXPECT_TRUE(keys.insert({row.key.key, row.key.modifiers}).second) << row.name << " shares its key";
        EXPECT_EQ(row.key.modifiers & ~(kCtrl | kAlt), 0) << row.name;
        EXPECT_EQ(AcceleratorCommand(row.key.key, Qt::KeyboardModifiers(row.key.modifiers)), row.id) << row.name;
    }
    // Rate and caption visibility have labels that name keys the table does not hold.
    EXPECT_EQ(withKeys, 35);
}

TEST(CommandTable, KeysTheTableDoesNotHold)
{
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        int id;
    } cases[] = {
        {Qt::Key_1, Qt::ControlModifier, 0},
        {Qt::Key_2, Qt::ControlModifier, 0},
        {Qt::Key_3, Qt::ControlModifier, 0},
        {Qt::Key_T, Qt::AltModifier, 0},
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

class CommandTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        window->OnInitDialog();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        panel = window->findChild<ControlPanel *>(QString(), Qt::FindDirectChildrenOnly);
        ASSERT_TRUE(panel);
    }

    /// The actions of the context menu as it would show now, by command id.
    std::map<int, QAction *> MenuActions()
    {
        std::map<int, QAction *> byId;
        for (QAction *a : window->BuildContextMenu()->findChildren<QAction *>())
            if (a->data().toInt() != 0)
                byId[a->data().toInt()] = a;
        return byId;
    }
    /// The entries of the popup, in order, by their text.
    QStringList TopEntries()
    {
        QStringList texts;
        for (QAction *a : window->BuildContextMenu()->actions())
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return texts;
    }

    ControlPanel *panel = nullptr;
};

TEST_F(CommandTest, KeysReachTheWindowWhereverTheFocusIsAndPagesReachTheSlider)
{
    window->OpenMedia(Media("a.avi", {200.0, 320, 240}));
    SkinSlider *timeline = panel->timelineSlider;
    timeline->setFocus();
    panel->SetTimelinePosition(40);
    const size_t mark = Calls().size();

    QTest::keyClick(timeline, Qt::Key_Left);
    QCoreApplication::processEvents();
    EXPECT_EQ(timeline->GetPos(), 40); // the table took the key: a seek, not a slider step
    EXPECT_THAT(CallsSince(mark), Contains(::testing::StartsWith("SetPositions")));

    QTest::keyClick(timeline, Qt::Key_PageUp);
    QCoreApplication::processEvents();
    EXPECT_EQ(timeline->GetPos(), 30);
    EXPECT_THAT(CallsSince(mark), Contains("put_CurrentPosition(60)"));

    // The same table from the video screen and the window itself.
    QTest::keyClick(MainWindowSeam::Screen(*window), Qt::Key_R);
    EXPECT_TRUE(Style().repeatMode);
    QTest::keyClick(window.get(), Qt::Key_X);
    EXPECT_FALSE(Style().soundEnabled);
}

TEST_F(CommandTest, TheAddressDialogGetsItsOwnKeys)
{
    window->OpenMedia(Media("a.avi"));
    std::string opened;
    backend->script->onRender = nullptr;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<OpenUrlDialog *>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        QLineEdit *edit = dialog->addressEdit();
        QTest::keyClicks(edit, QStringLiteral("http://127.0.0.1/rx 1.avi"));
        EXPECT_EQ(edit->text(), QStringLiteral("http://127.0.0.1/rx 1.avi")); // r, x, space and 1 are text here
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier); // copy, not close the media
        QTest::keyClick(edit, Qt::Key_Left);                   // a cursor move, not a seek
        EXPECT_TRUE(dialog->isVisible());
        dialog->OnCommand(ID_CLOSE_MEDIA);
    });
    const size_t mark = Calls().size();
    window->OnCommand(ID_OPEN_ADDRESS);
    EXPECT_TRUE(MainWindowSeam::Screen(*window) && app->mediaGraph.graph); // Ctrl+C closed nothing
    EXPECT_FALSE(Style().repeatMode);
    EXPECT_TRUE(Style().soundEnabled);
    EXPECT_THAT(CallsSince(mark), Not(Contains(::testing::StartsWith("SetPositions"))));
    EXPECT_THAT(CallsSince(mark), Not(Contains("Release")));
}

TEST_F(CommandTest, TheMenuShowsTheResourceLabelsAsTheyStand)
{
    // Walks the resource and the menu built from it side by side.
    const auto compare = [](QMenu &menu, std::span<const MenuEntry> entries, bool top, auto &self) -> void {
        const QList<QAction *> actions = menu.actions();
        ASSERT_EQ(actions.size(), qsizetype(entries.size())) << menu.title().toStdString();
        for (size_t i = 0; i < entries.size(); ++i) {
            const MenuEntry &e = entries[i];
            QAction *action = actions[qsizetype(i)];
            if (top && int(i) == kFilterMenuIndex)
                continue; // the filter list stands here instead
            if (e.kind == MenuEntry::Separator) {
                EXPECT_TRUE(action->isSeparator()) << i;
            } else if (e.kind == MenuEntry::Popup) {
                ASSERT_TRUE(action->menu()) << e.text;
                EXPECT_EQ(action->text(), QString::fromUtf8(e.text));
                self(*action->menu(), e.items, false, self);
            } else if (e.kind == MenuEntry::CaptionLanguages) {
                ASSERT_TRUE(action->menu()) << e.text; // filled when shown
                EXPECT_EQ(action->text(), QString::fromUtf8(e.text));
            } else if (e.kind == MenuEntry::RecentFiles) {
                ASSERT_TRUE(action->menu()) << e.text; // its fixed entries follow the media listed
                EXPECT_EQ(action->text(), QString::fromUtf8(e.text));
                EXPECT_EQ(action->menu()->actions().last()->data().toInt(), e.items.back().id);
            } else {
                EXPECT_EQ(action->text(), QString::fromUtf8(FindCommand(e.id)->label)) << FindCommand(e.id)->name;
                EXPECT_EQ(action->data().toInt(), e.id);
            }
        }
    };
    compare(*window->BuildContextMenu(), ContextMenuEntries(), true, compare);
}

TEST_F(CommandTest, CheckMarksFollowThePlayersState)
{
    struct Case {
        int id;
        std::function<void(SubtitleStyle &)> set;
    } cases[] = {
        // Mute's mark would show sound off, but its submenu gives way to the filter list.
        {ID_REPEAT, [](SubtitleStyle &s) { s.repeatMode = true; }},
        {ID_HIDE, [](SubtitleStyle &s) { s.hiddenMode = true; }},
        {ID_SUBTITLE_BOLD, [](SubtitleStyle &s) { s.Style = 700; }},
        {ID_SHADOW, [](SubtitleStyle &s) { s.Shadow_Use = true; }},
        {ID_SHADOW_DEEP, [](SubtitleStyle &s) { s.Shadow_Deep = true; }},
        {ID_OUTLINE, [](SubtitleStyle &s) { s.Outline_Use = true; }},
        {ID_OUTLINE_DEEP, [](SubtitleStyle &s) { s.Outline_Deep = true; }},
        {ID_SUBTITLE_SHOW, [](SubtitleStyle &s) { s.subtitleVisible = true; }},
        {ID_FULL_SCREEN, [](SubtitleStyle &s) { s.fullScreenMode = true; }},
        {ID_CAPTION_MARKUP, [](SubtitleStyle &s) { s.captionMarkup = true; }},
    };
    for (const Case &c : cases) {
        Style().soundEnabled = true;
        Style().repeatMode = Style().hiddenMode = Style().fullScreenMode = false;
        Style().Style = 400;
        Style().Shadow_Use = Style().Shadow_Deep = Style().Outline_Use = Style().Outline_Deep = false;
        Style().subtitleVisible = Style().captionMarkup = false;
        EXPECT_FALSE(MenuActions().at(c.id)->isChecked()) << c.id;
        c.set(Style());
        EXPECT_TRUE(MenuActions().at(c.id)->isChecked()) << c.id;
    }
    Style().Style = 400;
    window->OnCommand(ID_SUBTITLE_BOLD);
    EXPECT_TRUE(MenuActions().at(ID_SUBTITLE_BOLD)->isChecked());
}

TEST_F(CommandTest, GreyedEntriesAndTheFilterListWithAndWithoutMedia)
{
    const QString filters = QStringLiteral("필터정보");
    QStringList entries = TopEntries();
    ASSERT_EQ(entries.size(), 20); // the resource's 18, the recent media and the screenshot
    EXPECT_EQ(entries[7], filters);
    EXPECT_EQ(entries[8], QStringLiteral("최근 파일"));
    EXPECT_FALSE(entries.contains(QStringLiteral("사운드")));
    auto actions = MenuActions();
    EXPECT_FALSE(actions.at(ID_OPEN_SUBTITLE)->isEnabled());
    EXPECT_FALSE(actions.at(ID_HIDE)->isEnabled());
    EXPECT_TRUE(actions.at(ID_CLOSE_MEDIA)->isEnabled());
    EXPECT_FALSE(window->BuildContextMenu()->actions()[7]->isEnabled());
    EXPECT_EQ(window->BuildContextMenu()->actions()[7]->menu(), nullptr);

    backend->script->filterNames.clear();
    for (int i = 0; i < 20; ++i)
        backend->script->filterNames.push_back(i == 3 ? "decoder" : i == 5 ? "decoder" : "filter " + std::to_string(i));
    window->OpenMedia(Media("a.avi"));
    actions = MenuActions();
    EXPECT_TRUE(actions.at(ID_OPEN_SUBTITLE)->isEnabled());
    EXPECT_TRUE(actions.at(ID_HIDE)->isEnabled());
    QMenu *list = window->BuildContextMenu()->actions()[7]->menu();
    ASSERT_TRUE(list);
    ASSERT_EQ(list->actions().size(), 15);
    EXPECT_EQ(list->actions().front()->data().toInt(), 32861);
    EXPECT_EQ(list->actions().back()->data().toInt(), 32875);
    EXPECT_EQ(list->actions().back()->text(), QStringLiteral("filter 14"));

    // Two filters of one name: either entry opens the first of them.
    QString shown;
    QTimer::singleShot(0, [&] {
        if (auto *frame = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            shown = frame->windowTitle();
            frame->reject();
        }
    });
    window->OnCommand(ID_FILTER_FIRST + 6);
    EXPECT_EQ(shown, QStringLiteral("decoder"));
    ASSERT_EQ(backend->script->propertyFramePositions.size(), 1u);
    EXPECT_EQ(backend->script->propertyFramePositions[0], 3u);
}

TEST_F(CommandTest, F3OpensTheSettingsWhoseChangesRedrawTheCaptionAtOnce)
{
    window->OpenMedia(Media("a.avi"));
    Style().subtitleText = QStringLiteral("자막");
    MainWindowSeam::Screen(*window)->DrawSubtitle(Style());
    ASSERT_TRUE(MainWindowSeam::Screen(*window)->HasSubtitleLayer());
    bool outlineBefore = Style().Outline_Use;
    bool layerAfterChange = true;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<SubtitleSettingsDialog *>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        auto *outline = dialog->findChild<QCheckBox *>(QString::number(IDC_OUTLINE_USE));
        ASSERT_TRUE(outline);
        outline->click();
        layerAfterChange = MainWindowSeam::Screen(*window)->HasSubtitleLayer();
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    QTest::keyClick(MainWindowSeam::Screen(*window), Qt::Key_F3);
    EXPECT_NE(Style().Outline_Use, outlineBefore);
    EXPECT_FALSE(layerAfterChange); // the screen was invalidated while the dialog was open
}

TEST_F(CommandTest, TheAboutBoxShowsTheProgramAndItsVersion)
{
    AboutDialog about(window.get());
    EXPECT_EQ(about.windowTitle(), QStringLiteral("Velmo 정보"));
    QStringList texts;
    for (QLabel *label : about.findChildren<QLabel *>())
        texts << label->text();
    EXPECT_TRUE(texts.contains(QStringLiteral("Velmo 버전 1.0")));
    QPushButton *ok = about.findChild<QPushButton *>(QString::number(IDC_OK));
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->text(), QStringLiteral("확인"));
    QTimer::singleShot(0, ok, &QPushButton::click);
    EXPECT_EQ(about.exec(), QDialog::Accepted);
}

} // namespace
} // namespace velmo::test
