// velmo-bench-window: how long the main window takes to mark many selected songs with a
// status button, to scroll through the whole Music List, to apply a language to all five
// windows and to open the options dialog, on a generated database.
// Run offscreen: QT_QPA_PLATFORM=offscreen velmo-bench-window [SONGS] [MARKED]
#include <QApplication>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "DatabaseGenerator.h"
#include "QtUserInterface.h"
#include "app/Lifecycle.h"
#include "app/Session.h"
#include "platform/Clock.h"
#include "platform/ProcessLauncher.h"
#include "forms/TAddCDForm.h"
#include "forms/TCopyCDForm.h"
#include "forms/TMainForm.h"
#include "forms/TOpenFolderForm.h"
#include "forms/TOptionsForm.h"
#include "forms/WindowTexts.h"
#include "app/Languages.h"
#include "base/TextTable.h"
#include <QTimer>
#include <fstream>

int main(int argc, char** argv) {
    velmo::bench::Shape shape = velmo::bench::Shape::Collection;
    if (!velmo::bench::takeShapeOption(argc, argv, shape)) {
        std::fprintf(stderr, "usage: velmo-bench-window [SONGS] [MARKED] [--shape collection|merged]\n");
        return 2;
    }
    QApplication app(argc, argv);
    uint64_t songs = 100000, marked = 10000;
    if (argc > 1) velmo::bench::parseNumber(argv[1], songs);
    if (argc > 2) velmo::bench::parseNumber(argv[2], marked);

    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "velmo-bench-window";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "Profiles" / "Default");
    std::filesystem::create_directories(dir / "Language");
    velmo::bench::generateDatabase(songs, (dir / "Profiles" / "Default" / "Default.vmdb").string(), 1, shape);

    velmo::gui::QtUserInterface ui;
    ui.setQuiet(true);
    velmo::platform::DetachedProcessLauncher launcher;
    velmo::platform::SteadyClock clock;
    velmo::Session session(dir.string(), {ui, launcher, clock, {}});
    velmo::gui::TMainForm window(session);
    window.setQuietClose(true);
    window.show();
    QElapsedTimer timer;
    timer.start();
    velmo::Startup(session, {});
    window.UpDateText();
    QApplication::processEvents();
    std::printf("start-up with %llu songs: %.3f s\n", static_cast<unsigned long long>(songs), static_cast<double>(timer.elapsed()) / 1000.0);

    window.tabs()->setCurrentIndex(1);
    QListView* list = window.listOfTab(1);
    const int rows = list->model()->rowCount();
    const int count = static_cast<int>(std::min<uint64_t>(marked, static_cast<uint64_t>(rows)));
    list->selectionModel()->select(QItemSelection(list->model()->index(0, 0), list->model()->index(count - 1, 0)),
                                   QItemSelectionModel::Select);
    QApplication::processEvents();
    for (const char* button : {"BitBtnFav1", "BitBtnUnUsed1", "BitBtnBlack1", "BitBtnUsed1"}) {
        timer.restart();
        window.findChild<QPushButton*>(button)->click();
        QApplication::processEvents();
        const velmo::StatCounters& c = session.db.counters();
        std::printf("%-14s on %d selected songs: %.3f s (now %d unused, %d in Favorites, %d on the Black List)\n",
                    button, count, static_cast<double>(timer.elapsed()) / 1000.0, c[velmo::cN].count,
                    c[velmo::cF].count, c[velmo::cB].count);
    }

    timer.restart();
    QScrollBar* bar = list->verticalScrollBar();
    int pages = 0;
    for (int value = 0; value < bar->maximum() && pages < 2000; value += bar->pageStep(), ++pages) {
        bar->setValue(value);
        list->viewport()->repaint();
    }
    std::printf("painted %d pages of the Music List: %.3f ms a page\n", pages,
                pages ? static_cast<double>(timer.elapsed()) / pages : 0.0);

    // The other four windows, as the program builds them.
    velmo::gui::TAddCDForm addCD(session, &window);
    velmo::gui::TCopyCDForm copyCD(session, &window);
    velmo::gui::TOptionsForm options(session, &window);
    velmo::gui::TOpenFolderForm openFolder(session.texts);
    velmo::gui::TextsFollowLanguage openFolderTexts(session, &openFolder);
    options.setFolderChooser(&openFolder);
    {
        // A language whose every text differs from English.
        std::ofstream lng(dir / "Language" / "Bench.lng", std::ios::binary);
        for (const std::string& line : session.texts.languageLines()) lng << line << " (b)\r\n";
        for (const std::string& m : session.messages.all()) lng << m << "\r\n";
    }
    constexpr int kRounds = 10;
    timer.restart();
    for (int i = 0; i < kRounds; ++i) {
        velmo::SetLanguage(session, i % 2 == 0 ? "Bench" : "English");
        QApplication::processEvents();
    }
    std::printf("language applied to all five windows: %.2f ms (mean of %d)\n",
                static_cast<double>(timer.nsecsElapsed()) / 1e6 / kRounds, kRounds);

    double firstOpen = 0, totalOpen = 0;
    for (int i = 0; i < kRounds; ++i) {
        QElapsedTimer open;
        open.start();
        double shown = 0;
        // Runs once the dialog is up and its first events are handled.
        QTimer::singleShot(0, &options, [&] {
            options.repaint();
            shown = static_cast<double>(open.nsecsElapsed()) / 1e6;
            options.reject();
        });
        options.ButtonOptionsClick();
        if (i == 0) firstOpen = shown;
        totalOpen += shown;
    }
    std::printf("options dialog opened: %.2f ms the first time, %.2f ms mean of %d\n", firstOpen,
                totalOpen / kRounds, kRounds);

    std::filesystem::remove_all(dir);
    return 0;
}
