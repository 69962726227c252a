// The options dialog as the Options button opens it: what its controls show and let the user
// reach, player configurations edited across a switch, a previewed language and Cancel, and OK
// refusing a bad number.
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>

#include "MainWindowFixture.h"
#include "base/MessageTable.h"
#include "base/TextTable.h"
#include "forms/TOptionsForm.h"

namespace velmo::gui::test {

namespace {

// The main window with its options dialog, as the program builds them.
struct OptionsSetup {
    MainWindowFixture f;
    TOptionsForm form{*f.session, f.window.get()};

    explicit OptionsSetup(bool quiet = true, const std::function<void(const velmo::test::TempDir&)>& prepare = {})
        : f(sampleDatabase(), quiet, prepare) {
        f.window->setOptionsDialog(&form);
    }

    template <class W>
    W* get(const char* name) const {
        W* w = form.findChild<W*>(name);
        if (!w) qWarning("no control %s", name);
        return w;
    }
    // Presses Options and runs `inside` while the dialog is up; whatever `inside` leaves open
    // is cancelled, so a failed check cannot leave the modal dialog hanging.
    void whileOpen(const std::function<void()>& inside) {
        bool ran = false;
        QTimer::singleShot(0, &form, [&] {
            ran = true;
            if (QTest::qWaitForWindowActive(&form)) inside();
            else qWarning("the options dialog did not become active");
            if (form.isVisible()) form.reject();
        });
        f.button("ButtonOptions")->click();
        QVERIFY(ran);
        QVERIFY(!form.isVisible());
    }
};

// Language/Deutsch.lng: English but for the OK button, the used button's hint and the message
// "Save".
void writeGerman(const velmo::test::TempDir& dir) {
    const TextTable& english = TextTable::english();
    std::vector<std::string> lines = english.languageLines();
    for (size_t line = 1; line <= lines.size(); ++line) {
        const size_t entry = english.entryOfLine(line);
        if (entry == english.find("TOptionsForm", "ButtonOK", TextRole::Caption)) lines[line - 1] = "Übernehmen";
        if (entry == english.find("TMainForm", "BitBtnUsed", TextRole::Hint)) lines[line - 1] = "Als gehört markieren";
    }
    std::vector<std::string> messages(MessageTable::english().begin(), MessageTable::english().end());
    messages[msgSave] = "Speichern";
    lines.insert(lines.end(), messages.begin(), messages.end());
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    velmo::test::writeFile(dir.file("Language/Deutsch.lng"), text);
}

} // namespace

class OptionsWindowTest : public QObject {
    Q_OBJECT
private slots:
    void controlsShowTheSettingsAndFollowTheEnablingRules();
    void switchingPlayerConfigurationsKeepsEditsForOk();
    void aPreviewedLanguageReachesEveryWindowAndCancelTakesItBack();
    void okWithABadNumberKeepsTheDialogOpenOnTheFieldAndChangesNothing();
};

void OptionsWindowTest::controlsShowTheSettingsAndFollowTheEnablingRules() {
    OptionsSetup t;
    const ProfileSettings before = t.f.session->settings;
    t.whileOpen([&] {
        QCOMPARE(t.form.windowTitle(), QString("Options"));
        auto* tabs = t.get<QTabWidget>("PageControlOptsTabs");
        QCOMPARE(tabs->currentIndex(), 0);
        QCOMPARE(tabs->tabText(3), QString("Play now !"));
        QCOMPARE(t.form.focusWidget(), t.get<QPushButton>("ButtonOK"));
        // Every caption and hint the table holds for the dialog is on its named control.
        const TextTable& texts = t.f.session->texts;
        for (size_t i = 0; i < texts.entries().size(); ++i) {
            const TextEntry& e = texts.entries()[i];
            if (e.window != "TOptionsForm" || e.component == "TOptionsForm") continue;
            const QWidget* w = t.form.findChild<QWidget*>(QString::fromStdString(e.component));
            QVERIFY2(w, e.component.c_str());
            const QString expected = QString::fromStdString(texts.text(i));
            if (e.role == TextRole::Hint) {
                QVERIFY2(w->toolTip() == expected, e.component.c_str());
                continue;
            }
            QString caption;
            if (auto* b = qobject_cast<const QAbstractButton*>(w)) caption = b->text();
            else if (auto* l = qobject_cast<const QLabel*>(w)) caption = l->text();
            else if (auto* g = qobject_cast<const QGroupBox*>(w)) caption = g->title();
            else caption = tabs->tabText(tabs->indexOf(const_cast<QWidget*>(w)));
            QVERIFY2(caption == expected, e.component.c_str());
        }
        QCOMPARE(t.get<QLineEdit>("EditMDBSize")->toolTip(), QString("Maximal size of each playlist (in megabytes)"));
        QCOMPARE(t.get<QGroupBox>("GroupBoxShellExConfig")->title(), QString("Shell execute configuration"));
        QCOMPARE(t.get<QComboBox>("ComboBoxConfirmSaving")->currentText(), QString("Save"));
        QCOMPARE(t.get<QComboBox>("ComboBoxLanguages")->currentText(), QString("English"));

        // Saving: the choice counts when the question is off; skipping: it counts when on.
        auto* saving = t.get<QCheckBox>("CheckBoxConfirmSaving");
        auto* skip = t.get<QCheckBox>("CheckBoxSkip");
        QVERIFY(saving->isChecked() && skip->isChecked());
        QVERIFY(!t.get<QComboBox>("ComboBoxConfirmSaving")->isEnabled());
        QVERIFY(t.get<QComboBox>("ComboBoxSkip")->isEnabled());
        saving->click();
        skip->click();
        QVERIFY(t.get<QComboBox>("ComboBoxConfirmSaving")->isEnabled());
        QVERIFY(!t.get<QComboBox>("ComboBoxSkip")->isEnabled());

        // The external player's fields are usable only with the external player chosen.
        auto* group = t.get<QGroupBox>("GroupBoxExPlayerConfig");
        QVERIFY(t.get<QRadioButton>("RadioButtonBuiltIn")->isChecked());
        QVERIFY(!group->isEnabled() && !t.get<QComboBox>("ComboBoxPlayNowConfig")->isEnabled());
        t.get<QRadioButton>("RadioButtonExternal")->click();
        QVERIFY(group->isEnabled() && t.get<QComboBox>("ComboBoxPlayNowConfig")->isEnabled());

        // The preview follows the fields; its hint is the line under the mouse.
        auto* preview = t.get<QListWidget>("ListBoxPreview");
        t.get<QLineEdit>("EditParameterAfter")->setText(" --end");
        const QString list = QString::fromStdString(t.f.dir.file("Profiles/Default/PlayList.m3u"));
        QCOMPARE(preview->count(), 1);
        QCOMPARE(t.get<QComboBox>("ComboBoxPlayNowConfig")->currentText(), QString("VLC"));
        QCOMPARE(preview->item(0)->text(), "vlc \"" + list + "\" --end");
        auto* last = t.get<QCheckBox>("CheckBoxPassLastSeparately");
        QVERIFY(t.get<QCheckBox>("CheckBoxPassLastBeforeFile")->isEnabled());
        last->click();
        QVERIFY(!t.get<QCheckBox>("CheckBoxPassLastBeforeFile")->isEnabled());
        QCOMPARE(preview->count(), 2);
        QCOMPARE(preview->item(1)->text(), QString("vlc --end"));
        tabs->setCurrentIndex(3);
        QApplication::processEvents();
        const QPoint onSecond = preview->visualItemRect(preview->item(1)).center();
        QMouseEvent move(QEvent::MouseMove, onSecond, preview->viewport()->mapToGlobal(onSecond), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(preview->viewport(), &move);
        QCOMPARE(preview->toolTip(), QString("vlc --end"));
        const QPoint below(onSecond.x(), preview->viewport()->height() - 2);
        QMouseEvent away(QEvent::MouseMove, below, preview->viewport()->mapToGlobal(below), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(preview->viewport(), &away);
        QCOMPARE(preview->toolTip(), QString());
        t.get<QPushButton>("ButtonCancel")->click();
    });
    // Cancel changed nothing.
    QCOMPARE(t.f.session->settings.ConfirmOpts, before.ConfirmOpts);
    QCOMPARE(t.f.session->settings.BuiltInPlayer, true);
    QCOMPARE(t.f.session->PlayerConfigs[0].ParameterAfter, std::string());
}

void OptionsWindowTest::switchingPlayerConfigurationsKeepsEditsForOk() {
    OptionsSetup t;
    t.whileOpen([&] {
        auto* configs = t.get<QComboBox>("ComboBoxPlayNowConfig");
        auto* application = t.get<QLineEdit>("EditApplicationPath");
        t.get<QRadioButton>("RadioButtonExternal")->click();
        QCOMPARE(configs->currentText(), QString("VLC"));
        application->setText("/opt/vlc/bin/vlc");
        t.get<QCheckBox>("CheckBoxPassFirstSeparately")->click();
        configs->setCurrentIndex(0);
        QCOMPARE(application->text(), QString("audacious"));
        QVERIFY(!t.get<QCheckBox>("CheckBoxPassFirstSeparately")->isChecked());
        t.get<QLineEdit>("EditFileListExt")->setText("xspf");
        configs->setCurrentIndex(1);
        QCOMPARE(application->text(), QString("/opt/vlc/bin/vlc"));
        QVERIFY(t.get<QCheckBox>("CheckBoxPassFirstSeparately")->isChecked());
        configs->setCurrentIndex(0);
        QCOMPARE(t.get<QLineEdit>("EditFileListExt")->text(), QString("xspf"));
        t.get<QPushButton>("ButtonOK")->click();
    });
    const Session& s = *t.f.session;
    QCOMPARE(s.PlayerConfigs[1].ApplicationPath, std::string("/opt/vlc/bin/vlc"));
    QVERIFY(s.PlayerConfigs[1].PassFirstSeparately);
    QCOMPARE(s.PlayerConfigs[0].FileListExt, std::string("xspf"));
    QCOMPARE(s.settings.PlayerConfigIndex, 0);
    QVERIFY(!s.settings.BuiltInPlayer);
    QVERIFY(velmo::test::readFile(t.f.dir.file("Profiles/Default/PlayerConfig.ini")).find("/opt/vlc/bin/vlc") !=
            std::string::npos);
}

void OptionsWindowTest::aPreviewedLanguageReachesEveryWindowAndCancelTakesItBack() {
    OptionsSetup t(true, writeGerman);
    QPushButton* used = t.f.button("BitBtnUsed3");
    const QString englishHint = used->toolTip();
    t.whileOpen([&] {
        auto* languages = t.get<QComboBox>("ComboBoxLanguages");
        auto* saving = t.get<QComboBox>("ComboBoxConfirmSaving");
        saving->setCurrentIndex(2);
        languages->setCurrentIndex(languages->findText("Deutsch"));
        QCOMPARE(t.get<QPushButton>("ButtonOK")->text(), QString("Übernehmen"));
        QCOMPARE(used->toolTip(), QString("Als gehört markieren"));
        // The combos of messages speak the language and keep what was chosen in them.
        QCOMPARE(saving->itemText(0), QString("Speichern"));
        QCOMPARE(saving->currentIndex(), 2);
        QTest::keyClick(&t.form, Qt::Key_Escape);
    });
    QCOMPARE(QString::fromStdString(t.f.session->settings.Language), QString("English"));
    QCOMPARE(t.get<QPushButton>("ButtonOK")->text(), QString("OK"));
    QCOMPARE(used->toolTip(), englishHint);
    QCOMPARE(QString::fromStdString(t.f.session->messages[msgSave]), QString("Save"));
    QVERIFY(!t.f.session->settings.ConfirmOpts[AutoDontSave]);
}

void OptionsWindowTest::okWithABadNumberKeepsTheDialogOpenOnTheFieldAndChangesNothing() {
    OptionsSetup t(false);
    const std::string profileBefore = velmo::test::readFile(t.f.dir.file("Profiles/Default/Profile.ini"));
    ModalAnswerer answers({QMessageBox::Ok});
    t.whileOpen([&] {
        t.get<QCheckBox>("CheckBoxOGG")->click();
        t.get<QLineEdit>("EditMDBSize")->setText("12x");
        t.get<QTabWidget>("PageControlOptsTabs")->setCurrentIndex(2);
        t.get<QPushButton>("ButtonOK")->click();
        QVERIFY(t.form.isVisible());
        QCOMPARE(answers.seen.size(), qsizetype{1});
        QCOMPARE(answers.seen[0].text, QString("'12x' is not a valid integer value"));
        QCOMPARE(t.get<QTabWidget>("PageControlOptsTabs")->currentIndex(), 0);
        QCOMPARE(t.form.focusWidget(), t.get<QLineEdit>("EditMDBSize"));
        QCOMPARE(t.f.session->settings.StdExtensions, (std::vector<std::string>{"MP3", "WMA"}));
        QCOMPARE(velmo::test::readFile(t.f.dir.file("Profiles/Default/Profile.ini")), profileBefore);

        // Corrected, the same OK applies everything.
        t.get<QLineEdit>("EditMDBSize")->setText("120");
        t.get<QPushButton>("ButtonOK")->click();
        QVERIFY(!t.form.isVisible());
    });
    QCOMPARE(t.f.session->settings.SizeOfDB, 120);
    QCOMPARE(t.f.session->settings.StdExtensions, (std::vector<std::string>{"MP3", "WMA", "OGG"}));
}

int runOptionsWindowTest(int argc, char** argv) {
    OptionsWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace velmo::gui::test

#include "OptionsWindowTest.moc"
