#pragma once
#include <string>
#include <vector>

namespace velmo {

struct Session;

// Language files: "Language/<name>.lng" below the program folder, one text per line and no
// keys. The 200 captions and hints of the windows in their fixed order, then the 93 messages.
// Written as UTF-8 with CR LF; a file that is not valid UTF-8 (the Windows program's) is read as
// Windows-1252.
std::string languageFilePath(const Session& s, const std::string& name);

// Applies a language: a name without a file falls back to "English" (whose built-in texts stay
// when it has no file either). The file's lines replace the texts in table order, then every
// message, and the file is written back; texts that follow messages are refreshed; the profile's
// language becomes the name, and the fronts hear that the language changed. A file with too few
// lines gives the list error: the window texts read before it stay, the messages keep theirs, the
// file stays as it is, and false is returned.
bool SetLanguage(Session& s, std::string name);

// Writes the current texts and messages to the current language's file. A text holding a line
// break is written with a blank in its place, so the lines after it keep their meaning.
bool SaveLanguage(Session& s);

// The languages to choose from: "English" first, then every other "*.lng" of the language
// folder in the order the file system gives them.
std::vector<std::string> FindLangFiles(const Session& s);

} // namespace velmo
