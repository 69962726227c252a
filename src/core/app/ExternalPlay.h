#pragma once
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace velmo {

struct Session;
struct TDataRec;
class TreeNode;

// The value of an environment variable, however long; empty when it is not set.
std::string GetVarValue(const std::string& name);
// The first %NAME% of a text and every repetition of it replaced by the variable's value; a
// second, different variable stays as written, and so does a text without a closing "%".
std::string expandVariable(const std::string& text);

// The drive holding the CD of a disk text: LookOrInsertCD, except while a copy runs: then the
// drives are only looked at, since a prompt would move the trays the copy reads from.
std::optional<char> driveOfCD(Session& s, const std::string& diskText);

// The list file external play writes for a player whose lists end in `fileListExt`: the
// playlist name of the message table in the current profile's folder.
std::string listFilePathFor(const Session& s, const std::string& fileListExt);

// One external play ("Play now !" with the built-in player off): the songs of the selection that
// can be reached go into a list file, which the player of the chosen configuration is given.
// Songs of local drives always can; of the CDs only the first of the selection that is, or is
// made, available (a CD declined once is not asked for again).
class ExternalPlay {
public:
    explicit ExternalPlay(Session& s) : s_(s) {}

    void AddToExecute(const TDataRec* song);
    // Writes the list file (the configuration's first line, then one native path per line,
    // UTF-8 with CR LF) and starts the player once, twice or three times as the configuration
    // says. A start that fails is told in the status bar; nothing else is reported.
    void PassExecute();

    // The list file of the current profile and player configuration.
    std::string listFilePath() const;

    std::vector<std::string> ExecuteList; // native paths
    std::set<std::string> DeclinedDisks;
    std::string CurrentPlayDisk;

private:
    void start(const std::string& program, const std::vector<std::string>& arguments, const std::string& folder);

    Session& s_;
    std::optional<char> currentPlayDrive_;
};

// "Play now !" with an external player: AddToExecute for each song in order, then PassExecute.
void ExternalPlayNow(Session& s, const std::vector<TDataRec*>& selection);

// Shell open of a music-tree node (a song, a folder or a disk): its native path, or its folder's
// with PassDir (for folders and disks only when OnlyIfFile is off), handed to ExecuteByShell. A
// CD is asked for when it is in no drive; given up, nothing starts. A drive's root is its folder
// with a trailing "/".
void OpenInShell(Session& s, const TreeNode* musicNode);

// Runs ShellCommand ("program>parameters") on a native path: the parameters are split into
// arguments and "%file%" replaced by the path inside them, so the path is always one argument
// or part of one, whatever it holds. Without ">" nothing starts.
void ExecuteByShell(Session& s, const std::string& path);

} // namespace velmo
