#pragma once
#include <Qt>

namespace velmo::gui {

// The commands of the main window's own keys. The window sees every key first; a key that
// maps to no command goes on to the focused control.
enum class WindowKeyCommand {
    None,
    SearchNext,        // F3
    SearchPrev,        // Alt+F3
    SwitchView,        // Ctrl+~ (the key left of 1)
    SimpleMark,        // Ctrl+S in the music tree
    SaveBase,          // Ctrl+Alt+S
    SelectAll,         // Ctrl+A
    AddDisk,           // Ctrl+Alt+A
    FocusSearch,       // Ctrl+F
    RootControl,       // F5: opens root control, or finishes it
    RootMark,          // Ctrl+R in the music tree
    Escape,            // Esc: finishes root control, or exits
};

// The command of a key with exactly these modifiers (Shift, Ctrl and Alt count).
WindowKeyCommand windowKeyCommand(int key, Qt::KeyboardModifiers modifiers);

} // namespace velmo::gui
