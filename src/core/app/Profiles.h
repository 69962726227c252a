#pragma once
#include <string>

namespace velmo {

struct Session;

// Profile.ini and PlayerConfig.ini of the current profile.
// Writes Profile.ini (creating the profile folder), then PlayerConfig.ini.
void SaveProfile(Session& s);
// The same, except that a Profile.ini holding a value that could not be read is left as it is.
void SaveProfileUnlessKept(Session& s);
// Reads Profile.ini of CurrentProfile over the defaults (falling back to "Default" when the
// folder is missing), reads the player configurations, selects the profile in the profile
// list and writes the file back whole. A bad number keeps its default and is reported with
// the file and the line; every other value is taken, and the file is then not rewritten.
void ReadProfile(Session& s);
// Resets the settings to the defaults of CurrentProfile; with `writePlayerDefaults` the
// default player configurations are written over PlayerConfig.ini too.
void ResetProfile(Session& s, bool writePlayerDefaults);

void ReadPlayerConfig(Session& s);
void SavePlayerConfig(Session& s);
void SetDefPlayerConfig(Session& s);

// Options.ini: the current profile and the profile list.
// Reads it; true when it exists with at least two lines. Writes it when it is missing.
bool ReadOpt(Session& s);
void SaveOpt(Session& s);

// The nine characters a profile name must not hold: \ / : * ? " < > |
constexpr const char* kRefusedProfileChars = "\\/:*?\"<>|";

enum class ProfileNameCheck { Ok, Listed, Invalid };
// Listed: a profile of that name (letter case aside) exists. Invalid: empty, "." or "..",
// ending in a blank or a dot, or holding a refused character: no folder could carry it.
ProfileNameCheck checkProfileName(const Session& s, const std::string& name);
// Shows the error box for a name that cannot be taken; true when the name was refused.
bool refuseProfileName(Session& s, const std::string& name);

// The profile commands. MakeProfile creates the profile named by CurrentProfile.
void MakeProfile(Session& s);
// "New profile": refuses a name that cannot be taken (the error box is shown), else creates
// the profile and makes it the current one. True when it was created.
bool NewProfile(Session& s, const std::string& name);
// Renames the current profile, its folder and its default-named database. A refused name or
// a folder or file that cannot be renamed is reported and changes nothing; true when renamed.
bool RenameProfile(Session& s, const std::string& newName);
// Deletes the current profile (its folder is kept as "<name> [DELETED]") and switches to the
// first one left. False, with the error shown, when the folder cannot be renamed; nothing
// happens when it is the only profile.
bool DeleteProfile(Session& s);
// Switches to a listed profile, as picking it in the profile box does.
void SwitchProfile(Session& s, const std::string& name);

} // namespace velmo
