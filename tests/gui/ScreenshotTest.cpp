// The window program itself: `velmo --screenshot FILE` starts, draws its main window into a
// PNG file and leaves, without showing any window or box.
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTest>
#include <filesystem>

#include "MainWindowFixture.h"

namespace velmo::gui::test {

namespace {

struct Run {
    bool finished = false;
    QProcess::ExitStatus status = QProcess::CrashExit;
    int exitCode = -1;
    QString errors;
    QString output;
};

Run runVelmo(const QStringList& arguments) {
    QProcess process;
    process.setProgram(VELMO_GUI);
    process.setArguments(arguments);
    // The child inherits the headless platform of the test.
    process.start();
    Run run;
    run.finished = process.waitForFinished(60000);
    if (!run.finished) {
        process.kill();
        process.waitForFinished();
    }
    run.status = process.exitStatus();
    run.exitCode = process.exitCode();
    run.errors = QString::fromLocal8Bit(process.readAllStandardError());
    run.output = QString::fromLocal8Bit(process.readAllStandardOutput());
    return run;
}

} // namespace

class ScreenshotTest : public QObject {
    Q_OBJECT
private slots:
    void screenshotOfAFreshProgramFolder();
    void screenshotOfABaseThatDoesNotLoadWholeFails();
    void helpAndVersionAnswerWithoutAWindowAndAnUnknownOptionIsAUsageError();
};

void ScreenshotTest::helpAndVersionAnswerWithoutAWindowAndAnUnknownOptionIsAUsageError() {
    velmo::test::TempDir appDir;
    Run run = runVelmo({"--help"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.output.startsWith("usage: velmo "), qPrintable(run.output));
    run = runVelmo({"--version"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.output, QString("velmo (VelmoMusicDB v2.07)\n"));
    // An unknown option opens no window and writes nothing into the program folder.
    run = runVelmo({"--appdir", QString::fromStdString(appDir.path()), "--bogus"});
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.errors.contains("velmo: unknown option --bogus\nusage: velmo "), qPrintable(run.errors));
    QVERIFY(!std::filesystem::exists(appDir.file("Options.ini")));
}

void ScreenshotTest::screenshotOfAFreshProgramFolder() {
    velmo::test::TempDir appDir;
    velmo::test::TempDir out;
    const QString shot = QString::fromStdString(out.file("main.png"));
    const Run run = runVelmo({"--appdir", QString::fromStdString(appDir.path()), "--screenshot", shot});
    QVERIFY2(run.finished, "velmo --screenshot did not finish");
    QCOMPARE(run.status, QProcess::NormalExit);
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
    QVERIFY(QFileInfo(shot).size() > 0);
    QCOMPARE(velmo::test::readFile(shot.toStdString()).substr(0, 8), std::string("\x89PNG\r\n\x1a\n"));
    const QImage image(shot);
    QVERIFY(!image.isNull());
    QVERIFY(image.width() > 100 && image.height() > 100);
    // A first run sets the program folder up.
    QVERIFY(std::filesystem::is_directory(appDir.file("Profiles")));
    QVERIFY(std::filesystem::is_directory(appDir.file("Language")));
}

void ScreenshotTest::screenshotOfABaseThatDoesNotLoadWholeFails() {
    velmo::test::TempDir appDir;
    velmo::test::TempDir out;
    // The second line jumps two levels deeper: the file cannot be read.
    velmo::test::writeFile(appDir.file("Profiles/Default/Default.vmdb"),
                           folderLine(0, "Summer Mix /SUMMER01/", 1) + songLine(2, "01 a.mp3", 6, 1048576));
    const QString shot = QString::fromStdString(out.file("main.png"));
    const Run run = runVelmo({"--appdir", QString::fromStdString(appDir.path()), "--screenshot", shot});
    QVERIFY(run.finished);
    QCOMPARE(run.status, QProcess::NormalExit);
    QCOMPARE(run.exitCode, 1);
}

int runScreenshotTest(int argc, char** argv) {
    ScreenshotTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace velmo::gui::test

#include "ScreenshotTest.moc"
