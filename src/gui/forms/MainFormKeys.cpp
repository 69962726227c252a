#include "forms/MainFormKeys.h"

namespace velmo::gui {

namespace {

struct KeyBinding {
    int key;
    Qt::KeyboardModifiers modifiers;
    WindowKeyCommand command;
};

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers kAlt = Qt::AltModifier;
constexpr Qt::KeyboardModifiers kCtrlAlt = Qt::ControlModifier | Qt::AltModifier;

const KeyBinding kBindings[] = {
    {Qt::Key_F3, kNone, WindowKeyCommand::SearchNext},
    {Qt::Key_F3, kAlt, WindowKeyCommand::SearchPrev},
    // The key left of 1 gives ` or ~ depending on the keyboard.
    {Qt::Key_QuoteLeft, kCtrl, WindowKeyCommand::SwitchView},
    {Qt::Key_AsciiTilde, kCtrl, WindowKeyCommand::SwitchView},
    {Qt::Key_S, kCtrl, WindowKeyCommand::SimpleMark},
    {Qt::Key_S, kCtrlAlt, WindowKeyCommand::SaveBase},
    {Qt::Key_A, kCtrl, WindowKeyCommand::SelectAll},
    {Qt::Key_A, kCtrlAlt, WindowKeyCommand::AddDisk},
    {Qt::Key_F, kCtrl, WindowKeyCommand::FocusSearch},
    {Qt::Key_F5, kNone, WindowKeyCommand::RootControl},
    {Qt::Key_R, kCtrl, WindowKeyCommand::RootMark},
    {Qt::Key_Escape, kNone, WindowKeyCommand::Escape},
};

} // namespace

WindowKeyCommand windowKeyCommand(int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers mods = modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    for (const KeyBinding& b : kBindings)
        if (b.key == key && b.modifiers == mods) return b.command;
    return WindowKeyCommand::None;
}

} // namespace velmo::gui
