// velmo: the window front end.
#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "QtUserInterface.h"
#include "app/DatabaseCommands.h"
#include "app/Lifecycle.h"
#include "app/Session.h"
#include "forms/TAddCDForm.h"
#include "forms/TCopyCDForm.h"
#include "forms/TLogoForm.h"
#include "forms/TMainForm.h"
#include "forms/TOpenFolderForm.h"
#include "forms/TOptionsForm.h"
#include "forms/WindowTexts.h"
#include "platform/Clock.h"
#include "platform/NativePaths.h"
#include "app/PlaylistCommands.h"
#include "platform/ProcessLauncher.h"
#include "util/ProcessExit.h"

namespace {

struct Options {
    std::string appDir;
    std::optional<std::string> profile;
    std::optional<std::string> screenshot;
    std::vector<std::string> arguments; // as given, for the debug switch
    bool ok = true;
};

Options parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        o.arguments.push_back(a);
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                o.ok = false;
                return {};
            }
            o.arguments.push_back(argv[i + 1]);
            return argv[++i];
        };
        if (a == "--appdir") o.appDir = value();
        else if (a == "--profile") o.profile = value();
        else if (a == "--screenshot") o.screenshot = value();
    }
    return o;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(velmo::kProgramTitle);
    QApplication::setApplicationDisplayName(velmo::kProgramTitle);
    const Options options = parse(argc, argv);
    if (!options.ok) {
        std::fprintf(stderr, "usage: velmo [-debug] [--appdir DIR] [--profile NAME] [--screenshot FILE.png]\n");
        return 2;
    }

    using namespace velmo;
    using namespace velmo::gui;
    QElapsedTimer sinceLogo;
    sinceLogo.start();
    auto* logo = new TLogoForm(TextTable::english());
    if (!options.screenshot) {
        logo->show();
        QApplication::processEvents();
    }

    QtUserInterface ui;
    ui.setQuiet(options.screenshot.has_value());
    platform::DetachedProcessLauncher launcher;
    platform::SteadyClock clock;
    Session session(platform::resolveAppDir(options.appDir), {ui, launcher, clock, {}});
    TMainForm window(session);
    ui.setOwner(&window);
    ui.setStatusLabel(window.statusLabel());
    window.setQuietClose(options.screenshot.has_value());
    window.show();
    window.setEnabled(false);
    QApplication::processEvents();
    // The add-disk dialog and the chooser are windows of their own: disabling the main window
    // must not disable them.
    TAddCDForm addCD(session, &window);
    TCopyCDForm copyCD(session, &window);
    TOptionsForm optionsForm(session, &window);
    TOpenFolderForm openFolder(session.texts);
    // Its texts follow the language chosen at start-up and in the options.
    TextsFollowLanguage openFolderTexts(session, &openFolder);
    addCD.setFolderChooser(&openFolder);
    optionsForm.setFolderChooser(&openFolder);
    window.setOptionsDialog(&optionsForm);
    window.setAddDiskDialog(&addCD);
    window.setCopyDialog(&copyCD);

    StartupOptions startup;
    startup.arguments = options.arguments;
    startup.profile = options.profile;
    const bool started = Startup(session, startup);
    window.UpDateText();
    window.UpDatePlayButton();

    // A small database keeps the logo up for a second; a large one took that long to load.
    if (!options.screenshot && session.db.counters().a.count < 1000 && sinceLogo.elapsed() < 1000)
        QThread::msleep(static_cast<unsigned long>(1000 - sinceLogo.elapsed()));
    delete logo;
    window.setEnabled(true);

    if (options.screenshot) {
        QApplication::processEvents();
        const bool saved = window.grab().save(QString::fromStdString(*options.screenshot), "PNG");
        return saved && started ? 0 : 1;
    }
    if (started && CheckIfResetNeeded(session)) MenuItemResetIconsClick(session);
    window.UpDateText();
    const int status = QApplication::exec();
    // The window saved everything when it closed; what is left is memory the system frees faster.
    exitWithoutTeardown(status);
    return status;
}
