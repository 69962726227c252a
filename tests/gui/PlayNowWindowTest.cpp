// "Play now !" in the window: real songs through the real media backend (offscreen, a dummy
// sink without a sound card), Next in the Music List, the open error, and shell open.
#include <QAction>
#include <QLabel>
#include <QListView>
#include <QMediaPlayer>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>
#include <cmath>
#include <filesystem>

#include "MainWindowFixture.h"
#include "QtMediaPlayer.h"
#include "app/PlayNow.h"
#include "forms/PlayerPanel.h"

namespace velmo::gui::test {

namespace {

// A mono 16-bit PCM WAV of a 440 Hz tone.
std::string wav(double seconds) {
    constexpr uint32_t rate = 8000;
    const auto samples = static_cast<uint32_t>(seconds * rate);
    std::string out;
    auto u32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF); };
    auto u16 = [&](uint16_t v) { out += static_cast<char>(v & 0xFF); out += static_cast<char>(v >> 8); };
    out += "RIFF";
    u32(36 + samples * 2);
    out += "WAVEfmt ";
    u32(16), u16(1), u16(1), u32(rate), u32(rate * 2), u16(2), u16(16);
    out += "data";
    u32(samples * 2);
    for (uint32_t i = 0; i < samples; ++i)
        u16(static_cast<uint16_t>(static_cast<int16_t>(8000 * std::sin(2 * M_PI * 440 * i / rate))));
    return out;
}

// The songs a.wav (2 s) and b.wav (1 s) and bad.wav (no sound at all) in a folder of the local
// drive C:, which is "/" when the program folder has no drive table.
struct Songs {
    velmo::test::TempDir media;
    Songs() {
        velmo::test::writeFile(media.file("a.wav"), wav(2));
        velmo::test::writeFile(media.file("b.wav"), wav(1));
        velmo::test::writeFile(media.file("bad.wav"), std::string(4000, 'x'));
    }
    std::string database() const {
        std::string lines = folderLine(0, "Drive <C> /DATA/", iiHardDisk);
        int depth = 1;
        for (const auto& part : std::filesystem::path(media.path()).relative_path())
            lines += folderLine(depth++, part.string(), iiFolder);
        for (const char* name : {"a.wav", "b.wav", "bad.wav"}) lines += songLine(depth, name, 6, 16000);
        return lines;
    }
};

int rowOf(QListView* list, const QString& fileName) {
    for (int row = 0; row < list->model()->rowCount(); ++row)
        if (list->model()->index(row, 0).data().toString().endsWith("\\" + fileName)) return row;
    return -1;
}

} // namespace

class PlayNowWindowTest : public QObject {
    Q_OBJECT
private slots:
    void aSongPlaysToItsEndWithTheSliderFollowing();
    void nextPlaysTheFollowingSongAndABadFileShowsThePlayersError();
    void shellOpenGetsTheSongsFolder();
    void compressedSongsPlayToTheirEnd();
};

void PlayNowWindowTest::aSongPlaysToItsEndWithTheSliderFollowing() {
    Songs songs;
    MainWindowFixture f(songs.database());
    PlayerPanel* panel = f.window->playerPanel();
    QSlider* slider = panel->TrackBarSongProgress;
    // Before the first song: 300 steps, a tick every 30, nothing to press.
    QCOMPARE(slider->maximum(), 300);
    QCOMPARE(slider->tickInterval(), 30);
    QVERIFY(!slider->isEnabled() && !panel->MPlayer->isEnabled() && !panel->Timer1->isActive());

    f.showTab(1);
    f.selectInList(1, {"a.wav"});
    QVERIFY(panel->ButtonPlayNow->isEnabled());
    QTest::mouseClick(panel->ButtonPlayNow, Qt::LeftButton);

    auto* media = f.window->findChild<QtMediaPlayer*>();
    QVERIFY(media);
    QCOMPARE(media->backend().source(), QUrl::fromLocalFile(QString::fromStdString(songs.media.file("a.wav"))));
    QCOMPARE(media->lengthMs(), int64_t(2000));
    QCOMPARE(slider->maximum(), 5); // 2000 ms / 500 + 1
    QVERIFY(slider->isEnabled());
    QVERIFY(!panel->ButtonPlayNow->isEnabled());
    QVERIFY(!panel->ButtonPlay->isEnabled() && panel->ButtonPause->isEnabled() && panel->ButtonStop->isEnabled());
    QVERIFY(panel->Timer1->isActive());
    QVERIFY(panel->MPlayer->toolTip().contains("a.wav"));

    // The sound reaches the backend: the position runs and the slider follows it.
    QTRY_VERIFY_WITH_TIMEOUT(slider->value() > 0, 15000);
    // At the end the player stops by itself, rewound, and waits for Play.
    QTRY_VERIFY_WITH_TIMEOUT(!panel->Timer1->isActive(), 20000);
    QCOMPARE(media->mode(), MediaPlayer::Mode::Stopped);
    QCOMPARE(slider->value(), 0);
    QVERIFY(panel->ButtonPlay->isEnabled() && !panel->ButtonPause->isEnabled() && !panel->ButtonStop->isEnabled());
    QVERIFY(panel->ButtonNext->isEnabled() && panel->ButtonPrev->isEnabled());

    // Play starts it again; Pause and Pause again resume.
    QTest::mouseClick(panel->ButtonPlay, Qt::LeftButton);
    QCOMPARE(media->mode(), MediaPlayer::Mode::Playing);
    QTest::mouseClick(panel->ButtonPause, Qt::LeftButton);
    QCOMPARE(media->mode(), MediaPlayer::Mode::Paused);
    QVERIFY(panel->ButtonPlay->isEnabled() && panel->Timer1->isActive());
    QTest::mouseClick(panel->ButtonPause, Qt::LeftButton);
    QCOMPARE(media->mode(), MediaPlayer::Mode::Playing);
    QTest::mouseClick(panel->ButtonStop, Qt::LeftButton);
    QCOMPARE(media->mode(), MediaPlayer::Mode::Stopped);
    QVERIFY(!panel->Timer1->isActive());
}

void PlayNowWindowTest::nextPlaysTheFollowingSongAndABadFileShowsThePlayersError() {
    Songs songs;
    MainWindowFixture f(songs.database(), false);
    PlayerPanel* panel = f.window->playerPanel();
    auto* media = f.window->findChild<QtMediaPlayer*>();
    QListView* list = f.window->listOfTab(1);
    f.showTab(1);
    // A double click plays.
    const QModelIndex a = list->model()->index(rowOf(list, "a.wav"), 0);
    list->selectionModel()->setCurrentIndex(a, QItemSelectionModel::ClearAndSelect);
    // The view takes a double click for its item only after a press on that item.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(a).center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(a).center());
    QCOMPARE(f.window->builtInPlayer().PlayingRec(), f.song("a.wav"));
    QCOMPARE(media->mode(), MediaPlayer::Mode::Playing);

    QTest::mouseClick(panel->ButtonNext, Qt::LeftButton);
    QCOMPARE(f.window->builtInPlayer().PlayingRec(), f.song("b.wav"));
    QCOMPARE(media->backend().source(), QUrl::fromLocalFile(QString::fromStdString(songs.media.file("b.wav"))));
    QCOMPARE(list->selectionModel()->selectedRows(), QModelIndexList({list->model()->index(rowOf(list, "b.wav"), 0)}));
    QCOMPARE(media->mode(), MediaPlayer::Mode::Playing);
    QTRY_VERIFY_WITH_TIMEOUT(media->positionMs() > 0, 15000);

    // A file the backend cannot read: the box with its own error text, and the player closed.
    ModalAnswerer answerer({QMessageBox::Ok});
    QTest::mouseClick(panel->ButtonNext, Qt::LeftButton);
    QCOMPARE(f.window->builtInPlayer().PlayingRec(), f.song("bad.wav"));
    QCOMPARE(answerer.seen.size(), 1);
    QCOMPARE(answerer.seen[0].title, QString("Error"));
    QVERIFY(!answerer.seen[0].text.isEmpty());
    QVERIFY(!panel->MPlayer->isEnabled());
    QCOMPARE(media->mode(), MediaPlayer::Mode::NotReady);

    // The error does not stick to the player: the next song plays.
    f.selectInList(1, {"a.wav"});
    QTest::mouseClick(panel->ButtonPlayNow, Qt::LeftButton);
    QCOMPARE(answerer.seen.size(), 1);
    QVERIFY(panel->MPlayer->isEnabled());
    QCOMPARE(media->mode(), MediaPlayer::Mode::Playing);
}

void PlayNowWindowTest::shellOpenGetsTheSongsFolder() {
    Songs songs;
    MainWindowFixture f(songs.database());
    f.session->settings.ShellCommand = "xdg-open>%file%";
    auto& starts = f.services.launcher.starts;
    f.showTab(1);
    f.selectInList(1, {"b.wav"});
    f.window->prepareContextMenu(f.window->listOfTab(1));
    auto* explorer = f.window->findChild<QAction*>("ContextMenuItemShellOpen");
    QVERIFY(explorer && explorer->isEnabled());
    explorer->trigger();
    QCOMPARE(starts.size(), size_t(1));
    QCOMPARE(starts[0].program, std::string("xdg-open"));
    QCOMPARE(starts[0].arguments, std::vector<std::string>({songs.media.path()}));

    // Shift+Enter in the list, and on the folder node in the music tree (its own folder, since
    // OnlyIfFile keeps PassDir to songs). A program that cannot start shows in the status bar.
    f.services.launcher.results.push_back(std::string("No such file or directory"));
    QTest::keyClick(f.window->listOfTab(1), Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(starts.size(), size_t(2));
    QCOMPARE(starts[1].arguments, std::vector<std::string>({songs.media.path()}));
    QVERIFY(f.window->statusLabel()->text().contains("No such file or directory"));

    f.showTab(0);
    QTreeView* tree = f.musicTree();
    QStringList path{"Drive <C> /DATA/"};
    for (const auto& part : std::filesystem::path(songs.media.path()).relative_path())
        path << QString::fromStdString(part.string());
    const QModelIndex folder = f.treeIndex(path);
    QVERIFY(folder.isValid());
    tree->setFocus();
    tree->selectionModel()->setCurrentIndex(folder, QItemSelectionModel::ClearAndSelect);
    QTest::keyClick(tree, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(starts.size(), size_t(3));
    QCOMPARE(starts[2].arguments, std::vector<std::string>({songs.media.path()}));
}

int runPlayNowWindowTest(int argc, char** argv) {
    PlayNowWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

// MP3 and Ogg Vorbis go through the decoders of the installed GStreamer plugins: one-second
// tones made with an encoder, kept beside the tests.
void PlayNowWindowTest::compressedSongsPlayToTheirEnd() {
    for (const char* name : {"tone.mp3", "tone.ogg"}) {
        QtMediaPlayer media;
        const std::string path = std::string(VELMO_GUI_TEST_DATA) + "/" + name;
        QVERIFY2(media.open(path), (std::string(name) + ": " + media.lastError()).c_str());
        QVERIFY(std::abs(media.lengthMs() - 1000) < 200);
        media.play();
        QTRY_VERIFY_WITH_TIMEOUT(media.positionMs() > 0, 15000);
        QTRY_VERIFY_WITH_TIMEOUT(media.mode() == MediaPlayer::Mode::Stopped, 15000);
    }
}

} // namespace velmo::gui::test

#include "PlayNowWindowTest.moc"
