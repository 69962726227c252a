#pragma once
#include <QDialog>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/OptionsDialog.h"
#include "forms/WindowTexts.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace velmo {
struct Session;
}

namespace velmo::gui {

class TOpenFolderForm;

// The options dialog: every setting of the current profile on four tabs. It is created once and
// reused; its controls hold the settings only while it is open. What it shows, which controls
// are usable, the preview lines and what OK applies all come from the core (OptionsDialog).
class TOptionsForm : public QDialog {
    Q_OBJECT
public:
    TOptionsForm(Session& session, QWidget* parent);
    ~TOptionsForm() override;

    // The chooser "..." of the destination path opens.
    void setFolderChooser(TOpenFolderForm* chooser) { chooser_ = chooser; }

    // Options: shows the settings modally on the first tab; OK applies and saves them, anything
    // else changes nothing (a previewed language is taken back).
    void ButtonOptionsClick();
    // The current settings into the controls.
    void LoadOpts();
    // What the controls hold, the player configurations as edited.
    OptionsValues values() const;

    void ButtonOKClick();
    void ButtonChooseDBPathClick();
    // Both "..." buttons of the external programs; `shell`: the one of the shell command.
    void ButtonBrowseForTheAppClick(bool shell);

public slots:
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildGeneralTab();
    QWidget* buildConfirmTab();
    QWidget* buildOtherTab();
    QWidget* buildPlayNowTab();
    QLabel* panel(const char* name);
    QCheckBox* check(const char* name, bool OptionsValues::*value = nullptr);
    QLineEdit* edit(const char* name, std::string OptionsValues::*value = nullptr);
    QComboBox* combo(const char* name, int OptionsValues::*value);
    QPushButton* button(const char* name);
    QPushButton* browseButton(const char* name);

    // The combo boxes whose items are messages, refilled keeping their selections.
    void LoadOptsCombos();
    // The fields of the Play now ! tab: shown from a configuration, read into the shown one.
    void showFields(const TPlayerConfig& config);
    TPlayerConfig shownFields() const;
    void ComboBoxPlayNowConfigChange(int index);
    void ComboBoxLanguagesChange();
    // A control changed: the enabling rules and the preview follow.
    void controlsChanged();
    void ReEnableConfigBox(const OptionsEnabled& enabled);
    void ReloadPreView(const OptionsValues& values);

    Session& s_;
    TOpenFolderForm* chooser_ = nullptr;
    std::unique_ptr<TextsFollowLanguage> texts_;

    struct CheckField {
        QCheckBox* box;
        bool OptionsValues::*value;
    };
    struct EditField {
        QLineEdit* edit;
        std::string OptionsValues::*value;
    };
    struct ComboField {
        QComboBox* combo;
        int OptionsValues::*value;
    };
    std::vector<CheckField> checks_;
    std::vector<EditField> edits_;
    std::vector<ComboField> combos_;
    std::array<QCheckBox*, 6> extensionBoxes_{};

    QTabWidget* PageControlOptsTabs = nullptr;
    QPushButton* ButtonOK = nullptr;
    QPushButton* ButtonCancel = nullptr;
    QComboBox* ComboBoxLanguages = nullptr;
    QComboBox* ComboBoxGoodBehavior = nullptr;
    QComboBox* ComboBoxConfirmSaving = nullptr;
    QComboBox* ComboBoxCopyFromDHH = nullptr;
    QComboBox* ComboBoxSkip = nullptr;
    QLineEdit* EditFixGoodSize = nullptr;
    QComboBox* ComboBoxFixGoodSize = nullptr;
    QLabel* LabelPercent = nullptr;
    QCheckBox* CheckBoxOnlyAfterDnD = nullptr;
    QCheckBox* CheckBoxOnlyForHDDs = nullptr;
    QCheckBox* CheckBoxOnlyIfFile = nullptr;
    QCheckBox* CheckBoxDontShowTag = nullptr;
    QLineEdit* EditMDBPath = nullptr;
    QLineEdit* EditShellCommand = nullptr;

    // Play now !: the fields show configuration `shownConfig_` of `configs_`.
    QRadioButton* RadioButtonBuiltIn = nullptr;
    QRadioButton* RadioButtonExternal = nullptr;
    QComboBox* ComboBoxPlayNowConfig = nullptr;
    QGroupBox* GroupBoxExPlayerConfig = nullptr;
    QLineEdit* EditApplicationPath = nullptr;
    QLineEdit* EditParameterBefore = nullptr;
    QLineEdit* EditParameterAfter = nullptr;
    QLineEdit* EditFileListExt = nullptr;
    QLineEdit* EditFirstLine = nullptr;
    QCheckBox* CheckBoxPassFirstSeparately = nullptr;
    QCheckBox* CheckBoxPassLastSeparately = nullptr;
    QCheckBox* CheckBoxPassLastBeforeFile = nullptr;
    QListWidget* ListBoxPreview = nullptr;
    std::vector<TPlayerConfig> configs_;
    int shownConfig_ = -1;
    int loadedConfigIndex_ = 0;

    std::string languageAtOpen_;
    bool loading_ = false; // the controls are being filled: no handler reacts
};

} // namespace velmo::gui
