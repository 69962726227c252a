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

constexpr const char* kUsage =
    "usage: velmo [-debug] [--appdir DIR] [--profile NAME] [--screenshot FILE.png]\n"
    "       velmo --help | --version\n"
    "  -debug               as the first argument: write FileList.txt while adding folders\n"
    "  --appdir DIR         the program folder (settings, profiles, Drives.ini)\n"
    "  --profile NAME       use this profile for one run\n"
    "  --screenshot FILE    render the window after start-up into FILE (PNG) and exit\n";

struct Options {
    std::string appDir;
    std::optional<std::string> profile;
    std::optional<std::string> screenshot;
    std::vector<std::string> arguments; // as given, for the debug switch
    bool ok = true;
    std::string problem;
    bool help = false;
    bool version = false;
};

Options parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        o.arguments.push_back(a);
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                if (o.ok) o.problem = a + " needs a value";
                o.ok = false;
                return {};
            }
            o.arguments.push_back(argv[i + 1]);
            return argv[++i];
        };
        if (a == "--appdir") o.appDir = value();
        else if (a == "--profile") o.profile = value();
        else if (a == "--screenshot") o.screenshot = value();
        else if (a == "--help") o.help = true;
        else if (a == "--version") o.version = true;
        // The debug switch counts only first, as the program has always read it.
        else if (!(i == 1 && (a == "-debug" || a == "/debug")) && o.ok) {
            o.ok = false;
            o.problem = "unknown option " + a;
        }
    }
    return o;
}

} // namespace

int main(int argc, char** argv) {
    // Help and version are answered before Qt looks for a display, so they work without one.
    if (const Options early = parse(argc, argv); early.help || early.version) {
        if (early.help) std::fputs(kUsage, stdout);
        else std::printf("velmo (%s)\n", velmo::kProgramTitle);
        return 0;
    }
    QApplication app(argc, argv);
    // No display name: the platform would append it to every window caption.
    QApplication::setApplicationName(velmo::kProgramTitle);
    // Qt has taken its own options (-platform, -style) out of argv by now.
    const Options options = parse(argc, argv);
    if (!options.ok) {
        std::fprintf(stderr, "velmo: %s\n%s", options.problem.c_str(), kUsage);
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
    ui.setLogo(logo);
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
        exitWithoutTeardown(saved && started ? 0 : 1);
        return saved && started ? 0 : 1;
    }
    if (started && CheckIfResetNeeded(session)) MenuItemResetIconsClick(session);
    window.UpDateText();
    const int status = QApplication::exec();
    // The window saved everything when it closed; what is left is memory the system frees faster.
    exitWithoutTeardown(status);
    return status;
}
