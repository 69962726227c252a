#pragma once
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace velmo {

class TreeNode;
namespace platform {
class OpenFolder;
}
class MusicDatabase;
class MessageTable;
class UserInterface;
struct ProfileSettings;

// What a folder scan needs to know about the machine's drives.
class ScanDrives {
public:
    virtual ~ScanDrives() = default;
    // The drive of this letter is an optical drive (else it counts as a hard disk).
    virtual bool isCdDrive(char letter) const = 0;
    // "E:\Pop" (or "E:") as a path on this machine, each name in its bytes on the disk
    // (textToFileName); nullopt when it cannot be reached.
    virtual std::optional<std::string> nativePath(const std::string& catalogPath) const = 0;
};

// One folder of an add run: its path with the trailing backslash ("E:\Pop\", "E:\") and
// whether it is added as a root.
struct AddItem {
    std::string path;
    bool rooted = false;
};

// One add run: every folder of one drive, with the disk's description and label, is walked
// and every accepted music file that the database does not hold yet becomes an unused song.
class FolderScan {
public:
    // Where the run adds its songs, what it accepts and whom it tells. With a `traceFile` (debug
    // mode) every scanned folder and accepted file is written to it.
    struct Context {
        MusicDatabase& db;
        const ProfileSettings& settings;
        UserInterface& ui;
        const MessageTable& messages;
        std::string traceFile; // empty: no trace
    };
    FolderScan(Context context, const ScanDrives& drives) : s_(std::move(context)), drives_(drives) {}

    // ButtonAddFolderClick without its dialog. Throws std::runtime_error when the debug file
    // list cannot be written; what was added up to then stays.
    void ButtonAddFolderClick(const std::vector<AddItem>& items, const std::string& description,
                              const std::string& label);

    // The folder of an item, made with the disk and folder nodes above it.
    TreeNode* ProvideAddingRoot(const std::string& path);
    // Adds the contents of a folder (path without trailing backslash) below a node.
    void AddCDPath(TreeNode* parent, const std::string& path);
    // The Music List place of a new song: before the next song in tree order.
    size_t GetInsLineIndex(const TreeNode* songNode) const;
    // Removes a node and its ancestors as long as they hold nothing.
    void DelBranchIfEmpty(TreeNode* node);

    // Whether a file's extension is one of the profile's (letter case aside).
    bool isAccepted(const std::string& fileName) const;
    // Names the database cannot hold (":" splits its lines, "\" separates its paths, line
    // breaks and TABs change its layout); such entries are left out.
    static bool isStorableName(const std::string& name);

private:
    void trace(const std::string& catalogPath);
    // A name the database cannot hold, or a folder that could not be read: counted, and the
    // first kept for the one notice at the end of the run.
    struct Missed {
        size_t count = 0;
        std::string first;
        void note(std::string what) {
            if (count++ == 0) first = std::move(what);
        }
    };
    // Whether a folder link leads into the folder being added (else it is not followed).
    bool leadsInside(const std::string& nativeLink) const;
    void reportMissed() const;
    // AddCDPath below a folder already entered and opened: `native` is where `path` lies.
    void walkFolder(TreeNode* parent, const std::string& path, const std::string& native,
                    const platform::OpenFolder& folder);

    Context s_;
    const ScanDrives& drives_;
    std::string description_;
    std::string label_;
    std::vector<std::string> extensions_; // the profile's, in capitals, for this run
    std::string AddingPath;
    bool AddingRooted = false;
    // Folders entered in this run, so a link back to a parent cannot loop.
    std::set<std::pair<uint64_t, uint64_t>> visited_;
    std::string addingRoot_; // the folder being added, on this machine, without links
    std::string unreadableRoot_; // why the folder being added could not be read
    Missed leftOut_;
    Missed unreadable_;
};

} // namespace velmo
