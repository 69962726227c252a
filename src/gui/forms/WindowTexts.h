#pragma once

class QWidget;

namespace velmo {
class TextTable;
}

namespace velmo::gui {

// Gives a window and every widget and action inside it (its menus included, other windows
// not) the caption and hint the text table holds for its objectName. Widgets the table does
// not name keep their texts, so applying a language again is this one call.
void applyTexts(QWidget* window, const TextTable& texts);

} // namespace velmo::gui
