// A language chosen in the profile shows in the windows from the start.
#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "MainWindowFixture.h"
#include "base/MessageTable.h"
#include "base/TextTable.h"
#include "settings/ProfileFile.h"

namespace velmo::gui::test {

namespace {

const QString kTranslatedHint = QString::fromUtf8("Ausgewählte Dateien als gehört markieren");

// Language/Deutsch.lng: the English texts with the used button's hint translated, chosen in
// Profile.ini.
void writeGermanProfile(const velmo::test::TempDir& dir) {
    std::vector<std::string> lines = TextTable::english().languageLines();
    const std::string english = *TextTable::english().textOf("TMainForm", "BitBtnUsed", TextRole::Hint);
    size_t replaced = 0;
    for (std::string& line : lines)
        if (line == english) {
            line = kTranslatedHint.toStdString();
            ++replaced;
        }
    QCOMPARE(replaced, size_t{1});
    for (const std::string& m : MessageTable::english()) lines.push_back(m);
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    velmo::test::writeFile(dir.file("Language/Deutsch.lng"), text);

    ProfileSettings settings;
    settings.Language = "Deutsch";
    std::string profile;
    for (const std::string& line : profileFileLines(settings)) profile += line + "\r\n";
    velmo::test::writeFile(dir.file("Profiles/Default/Profile.ini"), profile);
    velmo::test::writeFile(dir.file("Options.ini"), "[Profile]\r\nDefault\r\n[Profiles]\r\nDefault\r\n");
}

} // namespace

class LanguageTextsTest : public QObject {
    Q_OBJECT
private slots:
    void theProfilesLanguageReachesEveryTwinAtStart();
};

void LanguageTextsTest::theProfilesLanguageReachesEveryTwinAtStart() {
    MainWindowFixture f(sampleDatabase(), true, writeGermanProfile);
    QVERIFY(f.started);
    QCOMPARE(QString::fromStdString(f.session->settings.Language), QString("Deutsch"));
    for (const char* name : {"BitBtnUsed", "BitBtnUsed1", "BitBtnUsed2", "BitBtnUsed3", "BitBtnUsed4", "BitBtnUsed5"}) {
        QPushButton* used = f.button(name);
        QVERIFY2(used, qPrintable(name));
        QCOMPARE(used->toolTip(), kTranslatedHint);
    }
    auto* item = f.window->contextMenu()->findChild<QAction*>("ContextMenuItemUsed");
    if (!item) item = f.window->findChild<QAction*>("ContextMenuItemUsed");
    QVERIFY(item);
    QCOMPARE(item->toolTip(), kTranslatedHint);
}

int runLanguageTextsTest(int argc, char** argv) {
    LanguageTextsTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace velmo::gui::test

#include "LanguageTextsTest.moc"
