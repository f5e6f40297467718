// Commands through the window: key routing wherever the focus is, the
// address dialog's own keys, the context menu (labels, marks, greying, the
// filter list), the settings and about dialogs, the panel's folder steps,
// and what commands find while an open waits.

#include "MainWindowFixture.h"

#include "app/AboutDialog.h"
#include "app/CommandTable.h"
#include "app/OpenUrlDialog.h"
#include "controls/BitmapButton.h"
#include "controls/ControlPanel.h"
#include "controls/SkinSlider.h"
#include "screen/VideoScreen.h"
#include "resources/CommandIds.h"
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
using ::testing::IsEmpty;
using ::testing::Not;

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
    ASSERT_TRUE(OpenAndWait(Media("a.avi", {200.0, 320, 240})));
    SkinSlider *timeline = panel->timelineSlider;
    timeline->setFocus();
    timeline->SetPos(40);
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
    EXPECT_TRUE(Settings().repeatMode);
    QTest::keyClick(window.get(), Qt::Key_X);
    EXPECT_TRUE(app->player.Muted());
}

TEST_F(CommandTest, TheKeysTheRateAndCaptionLabelsNameRaiseTheirCommands)
{
    ASSERT_TRUE(OpenAndWait(Media("a.avi")));
    VideoScreen *screen = MainWindowSeam::Screen(*window);
    QSignalSpy said(&app->player, &Player::message);
    const QSize size = window->size();
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifier modifier;
        double rate;
        bool captionsShown;
        const char *message; ///< null: none
    } cases[] = {
        {Qt::Key_3, Qt::ControlModifier, 2.0, true, "속도 2.0배"},
        {Qt::Key_1, Qt::ControlModifier, 0.5, true, "속도 0.5배"},
        {Qt::Key_2, Qt::ControlModifier, 1.0, true, "속도 1.0배"},
        {Qt::Key_T, Qt::AltModifier, 1.0, false, nullptr},
        {Qt::Key_T, Qt::AltModifier, 1.0, true, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.key);
        said.clear();
        QTest::keyClick(screen, c.key, c.modifier);
        EXPECT_DOUBLE_EQ(Graph()->rate, c.rate);
        EXPECT_EQ(Style().subtitleVisible, c.captionsShown);
        ASSERT_EQ(said.size(), c.message ? 1 : 0);
        if (c.message) {
            EXPECT_EQ(said.at(0).at(0).toString(), QString::fromUtf8(c.message));
        }
    }
    EXPECT_EQ(window->size(), size) << "Ctrl and a digit is no size preset";
}

TEST_F(CommandTest, TheAddressDialogGetsItsOwnKeys)
{
    ASSERT_TRUE(OpenAndWait(Media("a.avi")));
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
    EXPECT_TRUE(app->player.HasMedium()); // Ctrl+C closed nothing
    EXPECT_FALSE(Settings().repeatMode);
    EXPECT_FALSE(app->player.Muted());
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
            } else if (e.kind == MenuEntry::RecentFiles || e.kind == MenuEntry::SoundMenu || e.kind == MenuEntry::Chapters
                       || e.kind == MenuEntry::SubtitleTracks) {
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

TEST_F(CommandTest, EveryMarkFollowsItsOwnCommand)
{
    ASSERT_TRUE(OpenAndWait(Media("a.avi"))); // hiding needs media
    const auto shown = [&](const CommandRow &row) {
        const auto actions = MenuActions();
        const auto entry = actions.find(row.id);
        // Mute's entry gives way to the filter list: its row still says what it would show.
        if (entry == actions.end())
            return row.checked(*window);
        // Only a set flag shows its mark; an unset one shows no empty box.
        EXPECT_EQ(entry->second->isCheckable(), entry->second->isChecked()) << row.name;
        return entry->second->isChecked();
    };
    // The encodings, and the list's ends, are one choice among several: choosing one marks it alone.
    const auto group = [](const CommandRow &row) {
        if (row.id >= ID_CAPTION_ENCODING_AUTO && row.id <= ID_CAPTION_ENCODING_UTF16)
            return 1;
        return row.id >= ID_PLAYLIST_END_STOP && row.id <= ID_PLAYLIST_END_QUIT ? 2 : 0;
    };
    for (const CommandRow &chosen : CommandTable()) {
        if (!group(chosen))
            continue;
        window->OnCommand(chosen.id);
        for (const CommandRow &row : CommandTable()) {
            if (group(row) == group(chosen)) {
                EXPECT_EQ(shown(row), row.id == chosen.id) << chosen.name << " chosen, " << row.name;
            }
        }
    }
    int rows = 0;
    for (const CommandRow &row : CommandTable()) {
        if (!row.checked || group(row))
            continue;
        ++rows;
        const bool before = shown(row);
        window->OnCommand(row.id);
        EXPECT_NE(shown(row), before) << row.name;
        window->OnCommand(row.id);
        EXPECT_EQ(shown(row), before) << row.name;
    }
    EXPECT_EQ(rows, 17);
}

TEST_F(CommandTest, GreyedEntriesAndTheFilterListWithAndWithoutMedia)
{
    const QString filters = QStringLiteral("필터정보");
    QStringList entries = TopEntries();
    ASSERT_EQ(entries.size(), 22); // the resource's 18, the recent media, sound, chapters and the screenshot
    EXPECT_EQ(entries[7], filters);
    EXPECT_EQ(entries[8], QStringLiteral("최근 파일"));
    EXPECT_EQ(entries[9], QStringLiteral("음성"));
    EXPECT_EQ(entries[10], QStringLiteral("챕터"));
    EXPECT_FALSE(window->BuildContextMenu()->actions()[10]->isEnabled()) << "no chapters without a medium";
    EXPECT_FALSE(entries.contains(QStringLiteral("사운드")));
    auto actions = MenuActions();
    // Nothing to act on: no medium, and no medium opened before ("기록 지우기").
    const int greyedAlone[] = {ID_OPEN_SUBTITLE, ID_HIDE, ID_SCREENSHOT, ID_RECENT_CLEAR, ID_AUDIO_TRACK_CYCLE,
                               ID_SUBTITLE_TRACK_CYCLE};
    for (const int id : greyedAlone)
        EXPECT_FALSE(actions.at(id)->isEnabled()) << id;
    EXPECT_TRUE(actions.at(ID_CLOSE_MEDIA)->isEnabled());
    EXPECT_FALSE(window->BuildContextMenu()->actions()[7]->isEnabled());
    EXPECT_EQ(window->BuildContextMenu()->actions()[7]->menu(), nullptr);

    backend->script->filterNames.clear();
    for (int i = 0; i < 20; ++i)
        backend->script->filterNames.push_back(i == 3 ? "decoder" : i == 5 ? "decoder" : "filter " + std::to_string(i));
    ASSERT_TRUE(OpenAndWait(Media("a.avi")));
    actions = MenuActions();
    for (const int id : greyedAlone)
        EXPECT_TRUE(actions.at(id)->isEnabled()) << id;
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
    ASSERT_TRUE(OpenAndWait(Media("a.avi")));
    MainWindowSeam::Screen(*window)->DrawSubtitle({QStringLiteral("자막"), {}});
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

TEST_F(CommandTest, WhileAnOpenWaitsCommandsAndTheTimerFindNothingPlaying)
{
    ASSERT_TRUE(OpenAndWait(Media("folder/playing.avi"))); // the timer runs for it
    Media("folder/next.avi");
    FakeMediaInfo silent;
    silent.answers = false;
    const std::string slow = Media("folder/slow.avi", silent);
    MainWindowSeam::SetFileChooser(*window, [](QFileDialog &) { return std::string(); });
    window->OpenMedia(slow);
    ASSERT_TRUE(app->player.Opening());
    QSignalSpy ticked(&app->player, &Player::ticked);
    QSignalSpy opened(&app->player, &Player::opened);
    const size_t mark = Calls().size();

    // Every key a user may press meanwhile; dialogs wait for the user, and
    // closing or leaving ends the open.
    const std::set<int> skipped = {ID_OPEN_ADDRESS, ID_CLOSE_MEDIA, ID_SUBTITLE_SETTINGS, ID_ABOUT, ID_EXIT};
    for (const CommandRow &row : CommandTable())
        if (!skipped.count(row.id))
            window->OnCommand(row.id);
    EXPECT_THAT(CallsSince(mark), IsEmpty());
    EXPECT_TRUE(app->player.Opening());
    EXPECT_EQ(app->player.MediumPath(), slow);
    const auto actions = MenuActions();
    for (const CommandRow &row : CommandTable())
        EXPECT_TRUE(!row.needsMedia || !actions.at(row.id)->isEnabled()) << row.name << " is not greyed";
    EXPECT_FALSE(window->BuildContextMenu()->actions()[kFilterMenuIndex]->isEnabled());
    EXPECT_FALSE(ticked.wait(350)) << "the timer found something playing";

    ASSERT_TRUE(backend->AnswerRender());
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened.size() == 1; }, 2000));
    EXPECT_EQ(Graph()->renderedPath, slow);
    EXPECT_EQ(app->player.State(), PlayState::Running);
    EXPECT_TRUE(ticked.wait(2000));
    EXPECT_TRUE(MenuActions().at(ID_HIDE)->isEnabled());
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


namespace velmo::test {
namespace {

class TrackMenuTest : public CommandTest {};

TEST_F(TrackMenuTest, TheTrackMenusListTheMediumsTracksCheckedWhereInUseAndChooseThem)
{
    backend->script->streamChoice = true;
    FakeMediaInfo film;
    film.audio = {{"en", "", "AAC", 2, true}, {"ko", "해설", "AC-3", 6, false}};
    film.texts = {{"en", "", "SubRip", 0, true}, {"jpn", "Signs", "ASS", 0, false}};
    ASSERT_TRUE(OpenAndWait(Media("film.mkv", film)));
    const auto submenu = [&](QMenu *in, const QString &title) -> QMenu * {
        for (QAction *a : in->actions())
            if (a->menu() && a->text() == title)
                return a->menu();
        return nullptr;
    };
    const auto listed = [](QMenu *menu) {
        QStringList texts;
        for (QAction *a : menu->actions())
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text() + (a->isChecked() ? " ✓" : ""));
        return texts;
    };
    QMenu *top = window->BuildContextMenu();
    QMenu *sound = submenu(top, QStringLiteral("음성"));
    ASSERT_TRUE(sound);
    // The tracks come first; the outputs and the sync keys follow them.
    EXPECT_EQ(listed(sound).mid(0, 4), (QStringList{QStringLiteral("영어 — AAC"),
                                                    QStringLiteral("한국어 \"해설\" — AC-3 5.1 ✓"), QStringLiteral("-"),
                                                    QStringLiteral("기본 출력 ✓")}));
    QMenu *subtitles = submenu(submenu(top, QStringLiteral("자막설정")), QStringLiteral("자막 트랙"));
    ASSERT_TRUE(subtitles);
    EXPECT_EQ(listed(subtitles), (QStringList{QStringLiteral("영어 — SubRip ✓"), QStringLiteral("일본어 \"Signs\" — ASS"),
                                              QStringLiteral("자막 없음"), QStringLiteral("-"),
                                              QStringLiteral("자막 트랙 바꾸기      V")}));
    window->OnCommand(ID_AUDIO_TRACK_FIRST);
    window->OnCommand(ID_SUBTITLE_TRACK_NONE);
    EXPECT_EQ(backend->LastGraph()->currentAudio, 0);
    EXPECT_EQ(backend->LastGraph()->subtitleShown, kSubtitleNone);
}

} // namespace
} // namespace velmo::test
