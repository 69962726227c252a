#pragma once
#include <functional>

#include "app/SessionListener.h"

class QWidget;

namespace velmo {
class TextTable;
struct Session;
}

namespace velmo::gui {

// Gives a window and every widget and action inside it (its menus included, other windows
// not) the caption and hint the text table holds for its objectName. Widgets the table does
// not name keep their texts, so applying a language again is this one call.
void applyTexts(QWidget* window, const TextTable& texts);

// A window's texts in the session's language: applied now and again each time the language
// changes (at start-up too, when the profile's language file is read). `afterApply` restores
// what the window shows of its own state over the table's texts.
class TextsFollowLanguage : private SessionListener {
public:
    TextsFollowLanguage(Session& session, QWidget* window, std::function<void()> afterApply = {});
    ~TextsFollowLanguage() override;
    TextsFollowLanguage(const TextsFollowLanguage&) = delete;
    TextsFollowLanguage& operator=(const TextsFollowLanguage&) = delete;

private:
    void languageChanged() override;

    Session& s_;
    QWidget* window_;
    std::function<void()> afterApply_;
};

} // namespace velmo::gui
