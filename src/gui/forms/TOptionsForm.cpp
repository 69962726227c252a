#include "forms/TOptionsForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/Languages.h"
#include "app/Session.h"
#include "base/MessageTable.h"
#include "base/UserInterface.h"
#include "forms/TOpenFolderForm.h"

namespace velmo::gui {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

constexpr int kIndent = 22;
const char* const kExtensionBoxes[6] = {"CheckBoxMP3", "CheckBoxWMA", "CheckBoxOGG",
                                        "CheckBoxWAV", "CheckBoxAPE", "CheckBoxMID"};

// A control that depends on the one above it, set in below it.
QLayout* indented(QWidget* w) {
    auto* row = new QHBoxLayout;
    row->addSpacing(kIndent);
    row->addWidget(w, 1);
    return row;
}

QWidget* page(const char* name) {
    auto* w = new QWidget;
    w->setObjectName(name);
    return w;
}

} // namespace

TOptionsForm::TOptionsForm(Session& session, QWidget* parent) : QDialog(parent), s_(session) {
    setObjectName("TOptionsForm");
    setModal(true);

    PageControlOptsTabs = new QTabWidget(this);
    PageControlOptsTabs->setObjectName("PageControlOptsTabs");
    for (QWidget* tab : {buildGeneralTab(), buildConfirmTab(), buildOtherTab(), buildPlayNowTab()})
        PageControlOptsTabs->addTab(tab, QString());

    ButtonOK = button("ButtonOK");
    ButtonOK->setDefault(true);
    ButtonCancel = button("ButtonCancel");
    connect(ButtonOK, &QPushButton::clicked, this, &TOptionsForm::ButtonOKClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &TOptionsForm::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ButtonOK);
    buttons->addWidget(ButtonCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControlOptsTabs, 1);
    layout->addLayout(buttons);

    // A language applied anywhere (the preview here included) refills the combos of messages.
    texts_ = std::make_unique<TextsFollowLanguage>(s_, this, [this] { LoadOptsCombos(); });
}

TOptionsForm::~TOptionsForm() = default;

QLabel* TOptionsForm::panel(const char* name) {
    auto* label = new QLabel(this);
    label->setObjectName(name);
    label->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    label->setAutoFillBackground(true);
    label->setBackgroundRole(QPalette::Button);
    label->setIndent(4);
    label->setMinimumHeight(label->fontMetrics().height() + 8);
    return label;
}

QCheckBox* TOptionsForm::check(const char* name, bool OptionsValues::*value) {
    auto* box = new QCheckBox(this);
    box->setObjectName(name);
    if (value) checks_.push_back({box, value});
    connect(box, &QCheckBox::toggled, this, &TOptionsForm::controlsChanged);
    return box;
}

QLineEdit* TOptionsForm::edit(const char* name, std::string OptionsValues::*value) {
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    if (value) edits_.push_back({field, value});
    connect(field, &QLineEdit::textChanged, this, &TOptionsForm::controlsChanged);
    return field;
}

QComboBox* TOptionsForm::combo(const char* name, int OptionsValues::*value) {
    auto* box = new QComboBox(this);
    box->setObjectName(name);
    combos_.push_back({box, value});
    connect(box, &QComboBox::currentIndexChanged, this, &TOptionsForm::controlsChanged);
    return box;
}

QPushButton* TOptionsForm::button(const char* name) {
    auto* b = new QPushButton(this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QPushButton* TOptionsForm::browseButton(const char* name) {
    QPushButton* b = button(name);
    // Room for the "..." caption, not a full button's width beside a field.
    b->setMaximumWidth(b->fontMetrics().horizontalAdvance("......") + 16);
    return b;
}

QWidget* TOptionsForm::buildGeneralTab() {
    using V = OptionsValues;
    QWidget* tab = page("TabSheetGeneralOpts");
    auto* grid = new QGridLayout(tab);
    grid->setColumnStretch(1, 1);

    EditMDBPath = edit("EditMDBPath", &V::EditMDBPath);
    QPushButton* choose = browseButton("ButtonChooseDBPath");
    connect(choose, &QPushButton::clicked, this, &TOptionsForm::ButtonChooseDBPathClick);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(EditMDBPath, 1);
    pathRow->addWidget(choose);
    grid->addWidget(panel("PanelDestinationPath"), 0, 0);
    grid->addLayout(pathRow, 0, 1);

    auto* sizeRow = new QHBoxLayout;
    QLineEdit* size = edit("EditMDBSize", &V::EditMDBSize);
    size->setMaximumWidth(90);
    sizeRow->addWidget(size);
    sizeRow->addStretch(1);
    grid->addWidget(panel("PanelPlayListSize"), 1, 0);
    grid->addLayout(sizeRow, 1, 1);

    auto* extensionRow = new QHBoxLayout;
    for (size_t i = 0; i < extensionBoxes_.size(); ++i) extensionRow->addWidget(extensionBoxes_[i] = check(kExtensionBoxes[i]));
    extensionRow->addStretch(1);
    grid->addWidget(panel("PanelExtensions"), 2, 0);
    grid->addLayout(extensionRow, 2, 1);

    grid->addWidget(panel("PanelUserExts"), 3, 0);
    grid->addWidget(edit("EditWithExts", &V::EditWithExts), 3, 1);

    ComboBoxLanguages = new QComboBox(this);
    ComboBoxLanguages->setObjectName("ComboBoxLanguages");
    connect(ComboBoxLanguages, &QComboBox::currentIndexChanged, this, &TOptionsForm::ComboBoxLanguagesChange);
    grid->addWidget(panel("PanelLanguage"), 4, 0);
    grid->addWidget(ComboBoxLanguages, 4, 1);

    ComboBoxGoodBehavior = combo("ComboBoxGoodBehavior", &V::ComboBoxGoodBehavior);
    grid->addWidget(panel("PanelGoodBehaviour"), 5, 0);
    grid->addWidget(ComboBoxGoodBehavior, 5, 1);

    auto* fixRow = new QHBoxLayout;
    fixRow->addWidget(check("CheckBoxFixGoodSize", &V::CheckBoxFixGoodSize));
    EditFixGoodSize = edit("EditFixGoodSize", &V::EditFixGoodSize);
    EditFixGoodSize->setMaxLength(2);
    EditFixGoodSize->setMaximumWidth(EditFixGoodSize->fontMetrics().horizontalAdvance("000") + 16);
    fixRow->addWidget(EditFixGoodSize);
    LabelPercent = new QLabel(this);
    LabelPercent->setObjectName("LabelPercent");
    fixRow->addWidget(LabelPercent);
    ComboBoxFixGoodSize = combo("ComboBoxFixGoodSize", &V::ComboBoxFixGoodSize);
    fixRow->addWidget(ComboBoxFixGoodSize);
    fixRow->addStretch(1);
    grid->addLayout(fixRow, 6, 0, 1, 2);

    grid->addWidget(check("CheckBoxShowHints", &V::CheckBoxShowHints), 7, 0, 1, 2);
    CheckBoxDontShowTag = check("CheckBoxDontShowTag", &V::CheckBoxDontShowTag);
    grid->addLayout(indented(CheckBoxDontShowTag), 8, 0, 1, 2);
    grid->setRowStretch(9, 1);
    return tab;
}

QWidget* TOptionsForm::buildConfirmTab() {
    using V = OptionsValues;
    QWidget* tab = page("TabSheetConfirmOpts");
    auto* grid = new QGridLayout(tab);
    grid->setColumnStretch(0, 1);
    int row = 0;
    auto add = [&](QCheckBox* box, QComboBox* choice = nullptr) {
        grid->addWidget(box, row, 0);
        if (choice) grid->addWidget(choice, row, 1);
        ++row;
    };
    add(check("CheckBoxConfirmExit", &V::CheckBoxConfirmExit));
    ComboBoxConfirmSaving = combo("ComboBoxConfirmSaving", &V::ComboBoxConfirmSaving);
    add(check("CheckBoxConfirmSaving", &V::CheckBoxConfirmSaving), ComboBoxConfirmSaving);
    add(check("CheckBoxConfirmLargePlayList", &V::CheckBoxConfirmLargePlayList));
    ComboBoxCopyFromDHH = combo("ComboBoxCopyFromDHH", &V::ComboBoxCopyFromDHH);
    add(check("CheckBoxCopyFromHDD", &V::CheckBoxCopyFromHDD), ComboBoxCopyFromDHH);
    ComboBoxSkip = combo("ComboBoxSkip", &V::ComboBoxSkip);
    add(check("CheckBoxSkip", &V::CheckBoxSkip), ComboBoxSkip);
    add(check("CheckBoxShowPlayListFileName", &V::CheckBoxShowPlayListFileName));
    add(check("CheckBoxShowNoFilesFolderWarn", &V::CheckBoxShowNoFilesFolderWarn));
    add(check("CheckBoxConfirmDel", &V::CheckBoxConfirmDel));
    add(check("CheckBoxConfirmDelFromDisk", &V::CheckBoxConfirmDelFromDisk));
    grid->setRowStretch(row, 1);
    return tab;
}

QWidget* TOptionsForm::buildOtherTab() {
    using V = OptionsValues;
    QWidget* tab = page("TabSheetOtherOpts");
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(check("CheckBoxFocusAfterDragNDrop", &V::CheckBoxFocusAfterDragNDrop));
    layout->addWidget(check("CheckBoxLastVisitedTab", &V::CheckBoxLastVisitedTab));
    layout->addWidget(check("CheckBoxLastVisitedTree", &V::CheckBoxLastVisitedTree));
    layout->addWidget(check("CheckBoxAutoExpand", &V::CheckBoxAutoExpand));
    layout->addWidget(check("CheckBoxAutoCloseAddCDForm", &V::CheckBoxAutoCloseAddCDForm));
    CheckBoxOnlyAfterDnD = check("CheckBoxOnlyAfterDnD", &V::CheckBoxOnlyAfterDnD);
    layout->addLayout(indented(CheckBoxOnlyAfterDnD));
    layout->addWidget(check("CheckBoxSilentAddMode", &V::CheckBoxSilentAddMode));
    CheckBoxOnlyForHDDs = check("CheckBoxOnlyForHDDs", &V::CheckBoxOnlyForHDDs);
    layout->addLayout(indented(CheckBoxOnlyForHDDs));

    auto* shell = new QGroupBox(this);
    shell->setObjectName("GroupBoxShellExConfig");
    auto* grid = new QGridLayout(shell);
    grid->setColumnStretch(1, 1);
    EditShellCommand = edit("EditShellCommand", &V::EditShellCommand);
    QPushButton* browse = browseButton("ButtonBrowseForShellApp");
    connect(browse, &QPushButton::clicked, this, [this] { ButtonBrowseForTheAppClick(true); });
    grid->addWidget(panel("PanelShellCommand"), 0, 0);
    grid->addWidget(EditShellCommand, 0, 1);
    grid->addWidget(browse, 0, 2);
    grid->addWidget(check("CheckBoxPassDir", &V::CheckBoxPassDir), 1, 0, 1, 3);
    CheckBoxOnlyIfFile = check("CheckBoxOnlyIfFile", &V::CheckBoxOnlyIfFile);
    grid->addLayout(indented(CheckBoxOnlyIfFile), 2, 0, 1, 3);
    layout->addWidget(shell);
    layout->addStretch(1);
    return tab;
}

QWidget* TOptionsForm::buildPlayNowTab() {
    QWidget* tab = page("TabSheetPlayNow");
    auto* layout = new QVBoxLayout(tab);
    RadioButtonBuiltIn = new QRadioButton(this);
    RadioButtonBuiltIn->setObjectName("RadioButtonBuiltIn");
    RadioButtonExternal = new QRadioButton(this);
    RadioButtonExternal->setObjectName("RadioButtonExternal");
    for (QRadioButton* r : {RadioButtonBuiltIn, RadioButtonExternal})
        connect(r, &QRadioButton::toggled, this, &TOptionsForm::controlsChanged);
    ComboBoxPlayNowConfig = new QComboBox(this);
    ComboBoxPlayNowConfig->setObjectName("ComboBoxPlayNowConfig");
    connect(ComboBoxPlayNowConfig, &QComboBox::currentIndexChanged, this, &TOptionsForm::ComboBoxPlayNowConfigChange);
    layout->addWidget(RadioButtonBuiltIn);
    auto* externalRow = new QHBoxLayout;
    externalRow->addWidget(RadioButtonExternal);
    externalRow->addWidget(ComboBoxPlayNowConfig, 1);
    layout->addLayout(externalRow);

    GroupBoxExPlayerConfig = new QGroupBox(this);
    GroupBoxExPlayerConfig->setObjectName("GroupBoxExPlayerConfig");
    auto* grid = new QGridLayout(GroupBoxExPlayerConfig);
    grid->setColumnStretch(1, 1);
    int row = 0;
    auto field = [&](const char* label, const char* name, QWidget* extra = nullptr) {
        QLineEdit* e = edit(name);
        grid->addWidget(panel(label), row, 0);
        if (extra) {
            auto* line = new QHBoxLayout;
            line->addWidget(e, 1);
            line->addWidget(extra);
            grid->addLayout(line, row, 1);
        } else {
            grid->addWidget(e, row, 1);
        }
        ++row;
        return e;
    };
    auto below = [&](QCheckBox* box, bool indent = false) {
        if (indent) grid->addLayout(indented(box), row++, 1);
        else grid->addWidget(box, row++, 1);
        return box;
    };
    QPushButton* browse = browseButton("ButtonBrowseForTheApp");
    connect(browse, &QPushButton::clicked, this, [this] { ButtonBrowseForTheAppClick(false); });
    EditApplicationPath = field("PanelApplicationPath", "EditApplicationPath", browse);
    EditParameterBefore = field("PanelParameterBefore", "EditParameterBefore");
    CheckBoxPassFirstSeparately = below(check("CheckBoxPassFirstSeparately"));
    EditParameterAfter = field("PanelParameterAfter", "EditParameterAfter");
    CheckBoxPassLastSeparately = below(check("CheckBoxPassLastSeparately"));
    CheckBoxPassLastBeforeFile = below(check("CheckBoxPassLastBeforeFile"), true);
    EditFileListExt = field("PanelFileListExt", "EditFileListExt");
    EditFirstLine = field("PanelFirstLine", "EditFirstLine");
    ListBoxPreview = new QListWidget(this);
    ListBoxPreview->setObjectName("ListBoxPreview");
    ListBoxPreview->setMinimumHeight(ListBoxPreview->fontMetrics().height() * 4);
    ListBoxPreview->viewport()->setMouseTracking(true);
    ListBoxPreview->viewport()->installEventFilter(this);
    grid->addWidget(ListBoxPreview, row, 0, 1, 2);
    grid->setRowStretch(row, 1);
    layout->addWidget(GroupBoxExPlayerConfig, 1);
    return tab;
}

void TOptionsForm::showFields(const TPlayerConfig& c) {
    EditApplicationPath->setText(qs(c.ApplicationPath));
    EditParameterBefore->setText(qs(c.ParameterBefore));
    EditParameterAfter->setText(qs(c.ParameterAfter));
    EditFileListExt->setText(qs(c.FileListExt));
    EditFirstLine->setText(qs(c.FirstLine));
    CheckBoxPassFirstSeparately->setChecked(c.PassFirstSeparately);
    CheckBoxPassLastSeparately->setChecked(c.PassLastSeparately);
    CheckBoxPassLastBeforeFile->setChecked(c.PassLastBeforeFile);
}

TPlayerConfig TOptionsForm::shownFields() const {
    TPlayerConfig c = configs_[static_cast<size_t>(shownConfig_)];
    c.ApplicationPath = EditApplicationPath->text().toStdString();
    c.ParameterBefore = EditParameterBefore->text().toStdString();
    c.ParameterAfter = EditParameterAfter->text().toStdString();
    c.FileListExt = EditFileListExt->text().toStdString();
    c.FirstLine = EditFirstLine->text().toStdString();
    c.PassFirstSeparately = CheckBoxPassFirstSeparately->isChecked();
    c.PassLastSeparately = CheckBoxPassLastSeparately->isChecked();
    c.PassLastBeforeFile = CheckBoxPassLastBeforeFile->isChecked();
    return c;
}

void TOptionsForm::LoadOpts() {
    const OptionsValues v = velmo::LoadOpts(s_);
    loading_ = true;
    for (const CheckField& f : checks_) f.box->setChecked(v.*f.value);
    for (const EditField& f : edits_) f.edit->setText(qs(v.*f.value));
    for (size_t i = 0; i < extensionBoxes_.size(); ++i) extensionBoxes_[i]->setChecked(v.CheckBoxExtensions[i]);

    ComboBoxLanguages->clear();
    for (const std::string& name : FindLangFiles(s_)) ComboBoxLanguages->addItem(qs(name));
    const int language = ComboBoxLanguages->findText(qs(v.ComboBoxLanguages), Qt::MatchExactly | Qt::MatchCaseSensitive);
    ComboBoxLanguages->setCurrentIndex(language >= 0 ? language : 0);

    LoadOptsCombos();
    for (const ComboField& f : combos_) f.combo->setCurrentIndex(v.*f.value);

    RadioButtonBuiltIn->setChecked(v.RadioButtonBuiltIn);
    RadioButtonExternal->setChecked(!v.RadioButtonBuiltIn);

    configs_ = v.PlayerConfigs;
    loadedConfigIndex_ = v.ComboBoxPlayNowConfig;
    ComboBoxPlayNowConfig->clear();
    for (const TPlayerConfig& c : configs_) ComboBoxPlayNowConfig->addItem(qs(c.Name));
    const bool valid = loadedConfigIndex_ >= 0 && static_cast<size_t>(loadedConfigIndex_) < configs_.size();
    shownConfig_ = valid ? loadedConfigIndex_ : -1;
    ComboBoxPlayNowConfig->setCurrentIndex(shownConfig_);
    showFields(valid ? configs_[static_cast<size_t>(shownConfig_)] : TPlayerConfig{});
    loading_ = false;
    controlsChanged();
}

OptionsValues TOptionsForm::values() const {
    OptionsValues v;
    for (const CheckField& f : checks_) v.*f.value = f.box->isChecked();
    for (const EditField& f : edits_) v.*f.value = f.edit->text().toStdString();
    for (const ComboField& f : combos_) v.*f.value = f.combo->currentIndex();
    for (size_t i = 0; i < extensionBoxes_.size(); ++i) v.CheckBoxExtensions[i] = extensionBoxes_[i]->isChecked();
    v.ComboBoxLanguages = ComboBoxLanguages->currentText().toStdString();
    v.RadioButtonBuiltIn = RadioButtonBuiltIn->isChecked();
    v.PlayerConfigs = configs_;
    v.ComboBoxPlayNowConfig = loadedConfigIndex_;
    if (shownConfig_ >= 0) {
        v.PlayerConfigs[static_cast<size_t>(shownConfig_)] = shownFields();
        v.ComboBoxPlayNowConfig = shownConfig_;
    }
    return v;
}

void TOptionsForm::LoadOptsCombos() {
    const std::array<QComboBox*, 5> boxes = {ComboBoxGoodBehavior, ComboBoxConfirmSaving, ComboBoxCopyFromDHH,
                                             ComboBoxSkip, ComboBoxFixGoodSize};
    const auto items = velmo::LoadOptsCombos(s_.messages);
    const bool wasLoading = loading_;
    loading_ = true;
    for (size_t i = 0; i < boxes.size(); ++i) {
        const int selected = boxes[i]->currentIndex();
        boxes[i]->clear();
        for (const std::string& item : items[i]) boxes[i]->addItem(qs(item));
        boxes[i]->setCurrentIndex(selected >= 0 ? selected : 0);
    }
    loading_ = wasLoading;
}

void TOptionsForm::controlsChanged() {
    if (loading_) return;
    const OptionsValues v = values();
    const OptionsEnabled e = enablingRules(v);
    ComboBoxConfirmSaving->setEnabled(e.ComboBoxConfirmSaving);
    ComboBoxCopyFromDHH->setEnabled(e.ComboBoxCopyFromDHH);
    ComboBoxSkip->setEnabled(e.ComboBoxSkip);
    for (QWidget* w : std::initializer_list<QWidget*>{EditFixGoodSize, ComboBoxFixGoodSize, LabelPercent})
        w->setEnabled(e.EditFixGoodSize);
    CheckBoxOnlyAfterDnD->setEnabled(e.CheckBoxOnlyAfterDnD);
    CheckBoxOnlyForHDDs->setEnabled(e.CheckBoxOnlyForHDDs);
    CheckBoxOnlyIfFile->setEnabled(e.CheckBoxOnlyIfFile);
    CheckBoxDontShowTag->setEnabled(e.CheckBoxDontShowTag);
    ReEnableConfigBox(e);
    ReloadPreView(v);
}

void TOptionsForm::ReEnableConfigBox(const OptionsEnabled& e) {
    GroupBoxExPlayerConfig->setEnabled(e.GroupBoxExPlayerConfig);
    ComboBoxPlayNowConfig->setEnabled(e.GroupBoxExPlayerConfig);
    CheckBoxPassLastBeforeFile->setEnabled(e.CheckBoxPassLastBeforeFile);
}

void TOptionsForm::ReloadPreView(const OptionsValues& v) {
    QStringList lines;
    if (shownConfig_ >= 0)
        for (const std::string& line : velmo::ReloadPreView(v.PlayerConfigs[static_cast<size_t>(shownConfig_)], s_))
            lines << qs(line);
    QStringList shown;
    for (int i = 0; i < ListBoxPreview->count(); ++i) shown << ListBoxPreview->item(i)->text();
    if (shown == lines) return;
    ListBoxPreview->clear();
    for (const QString& line : lines) {
        auto* item = new QListWidgetItem(line, ListBoxPreview);
        item->setToolTip(line);
    }
}

bool TOptionsForm::eventFilter(QObject* watched, QEvent* event) {
    // The hint of the preview is the line under the mouse, so a long line can be read whole.
    if (watched == ListBoxPreview->viewport() && (event->type() == QEvent::MouseMove || event->type() == QEvent::Leave)) {
        const QListWidgetItem* item = event->type() == QEvent::MouseMove
                                          ? ListBoxPreview->itemAt(static_cast<QMouseEvent*>(event)->position().toPoint())
                                          : nullptr;
        ListBoxPreview->setToolTip(item ? item->text() : QString());
    }
    return QDialog::eventFilter(watched, event);
}

void TOptionsForm::ComboBoxPlayNowConfigChange(int index) {
    if (loading_) return;
    // The edits of the configuration shown so far are kept for OK.
    if (shownConfig_ >= 0) configs_[static_cast<size_t>(shownConfig_)] = shownFields();
    shownConfig_ = index >= 0 && static_cast<size_t>(index) < configs_.size() ? index : -1;
    loading_ = true;
    showFields(shownConfig_ >= 0 ? configs_[static_cast<size_t>(shownConfig_)] : TPlayerConfig{});
    loading_ = false;
    controlsChanged();
}

void TOptionsForm::ComboBoxLanguagesChange() {
    if (loading_) return;
    const std::string name = ComboBoxLanguages->currentText().toStdString();
    if (name.empty() || name == s_.settings.Language) return;
    // Every window, this one too, shows the language at once; the combos of messages are
    // refilled keeping their choices (texts_).
    SetLanguage(s_, name);
}

void TOptionsForm::ButtonOptionsClick() {
    LoadOpts();
    languageAtOpen_ = s_.settings.Language;
    setWindowTitle(qs(s_.messages[msgOptionsCaption]));
    PageControlOptsTabs->setCurrentIndex(0);
    ButtonOK->setDefault(true);
    ButtonOK->setFocus();
    exec();
}

void TOptionsForm::ButtonOKClick() {
    const OptionsValues v = values();
    if (const std::optional<OptionsError> bad = checkOpts(v)) {
        // Nothing is applied; the user corrects the field and tries again.
        s_.ui.showError(bad->text);
        if (auto* field = findChild<QLineEdit*>(qs(bad->control))) {
            for (int i = 0; i < PageControlOptsTabs->count(); ++i)
                if (PageControlOptsTabs->widget(i)->isAncestorOf(field)) PageControlOptsTabs->setCurrentIndex(i);
            field->setFocus();
            field->selectAll();
        }
        return;
    }
    if (std::optional<std::string> error = ApplyOpts(s_, v)) {
        s_.ui.showError(*error);
        return;
    }
    languageAtOpen_.clear();
    accept();
}

void TOptionsForm::reject() {
    QDialog::reject();
    // Cancel changes nothing: a language previewed while the dialog was open is taken back.
    if (!languageAtOpen_.empty() && s_.settings.Language != languageAtOpen_) SetLanguage(s_, languageAtOpen_);
    languageAtOpen_.clear();
}

void TOptionsForm::ButtonChooseDBPathClick() {
    if (!chooser_) return;
    const std::optional<std::string> chosen = chooser_->chooseFolder(s_.drives(), s_.messages[msgChooseFolderCaption]);
    if (!chosen) return;
    if (const std::optional<std::string> native = s_.drives().catalogToNative(*chosen)) EditMDBPath->setText(qs(*native));
}

void TOptionsForm::ButtonBrowseForTheAppClick(bool shell) {
    UserInterface::FileDialog dialog;
    dialog.title = s_.messages[msgChooseApplication];
    dialog.executableOnly = true;
    const QString current = shell ? EditShellCommand->text().section('>', 0, 0) : EditApplicationPath->text();
    if (current.startsWith('/')) dialog.initialFolder = QFileInfo(current).absolutePath().toStdString();
    const std::optional<std::string> file = s_.ui.chooseFileToOpen(dialog);
    if (!file) return;
    if (shell) EditShellCommand->setText(qs(shellCommandFor(*file)));
    else EditApplicationPath->setText(qs(*file));
}

} // namespace velmo::gui
