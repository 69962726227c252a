#include "forms/WindowTexts.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>

#include "app/Session.h"
#include "base/TextTable.h"

namespace velmo::gui {

namespace {

void setCaption(QWidget* w, const QString& text) {
    if (auto* button = qobject_cast<QAbstractButton*>(w)) button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(w)) label->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(w)) group->setTitle(text);
    else if (auto* menu = qobject_cast<QMenu*>(w)) menu->setTitle(text);
    else if (w->isWindow()) w->setWindowTitle(text);
    else if (auto* tabs = w->parentWidget() ? qobject_cast<QTabWidget*>(w->parentWidget()->parentWidget()) : nullptr) {
        // A tab sheet: its caption is the tab's.
        if (const int at = tabs->indexOf(w); at >= 0) tabs->setTabText(at, text);
    }
}

void setHint(QWidget* w, const QString& text) {
    w->setToolTip(text);
    w->setStatusTip(text);
}

struct Applier {
    const TextTable& texts;
    std::string window;

    const std::string* find(const QObject* o, TextRole role) const {
        return texts.textOf(window, o->objectName().toStdString(), role);
    }
    void apply(QObject* o) const {
        if (o->objectName().isEmpty()) return;
        const std::string* caption = find(o, TextRole::Caption);
        const std::string* hint = find(o, TextRole::Hint);
        if (auto* action = qobject_cast<QAction*>(o)) {
            if (caption) action->setText(QString::fromStdString(*caption));
            if (hint) {
                action->setToolTip(QString::fromStdString(*hint));
                action->setStatusTip(QString::fromStdString(*hint));
            }
        } else if (auto* w = qobject_cast<QWidget*>(o)) {
            if (caption) setCaption(w, QString::fromStdString(*caption));
            if (hint) setHint(w, QString::fromStdString(*hint));
        }
    }
    void walk(QObject* parent) const {
        for (QObject* child : parent->children()) {
            // Another window parented here (a dialog) has texts of its own; menus belong here.
            auto* w = qobject_cast<QWidget*>(child);
            if (w && w->isWindow() && !qobject_cast<QMenu*>(w)) continue;
            apply(child);
            walk(child);
        }
    }
};

} // namespace

void applyTexts(QWidget* window, const TextTable& texts) {
    const Applier applier{texts, window->objectName().toStdString()};
    applier.apply(window);
    applier.walk(window);
}

TextsFollowLanguage::TextsFollowLanguage(Session& session, QWidget* window, std::function<void()> afterApply)
    : s_(session), window_(window), afterApply_(std::move(afterApply)) {
    s_.addListener(this);
    languageChanged();
}

TextsFollowLanguage::~TextsFollowLanguage() { s_.removeListener(this); }

void TextsFollowLanguage::languageChanged() {
    applyTexts(window_, s_.texts);
    if (afterApply_) afterApply_();
}

} // namespace velmo::gui
