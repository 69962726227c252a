#pragma once

namespace velmo {

// Hears what a command changed in the session beyond the database, so a front shows it
// without refreshing by hand after each command.
class SessionListener {
public:
    virtual ~SessionListener() = default;
    // The profile list, the selected profile or the current profile changed.
    virtual void profilesChanged() {}
    // The settings were replaced (another profile, defaults) or changed.
    virtual void settingsChanged() {}
    // The message table now speaks another language.
    virtual void languageChanged() {}
    // A copy started or ended (Session::copyRunning()): what it reads or writes must not be
    // changed meanwhile.
    virtual void copyStateChanged() {}
};

} // namespace velmo
