#pragma once
#include <functional>
#include <string>

#include "musicdb/DatabaseFile.h"

namespace velmo {

class MusicDatabase;
class TreeNode;

// Merges a load tree into the music tree by sorted find-or-insert, so loading and "Add to
// DB" are one algorithm. Every new song enters as unused and reaches its stored status
// through SetStatus, which rebuilds counters and lists; songs already present keep theirs.
class DatabaseLoader {
public:
    struct Options {
        bool mergeMode = false;  // "Add to DB": select the folders that receive new songs
        bool goodCycle = false;  // the Just Good behaviour "Cycle" (off: "Remain unused")
        std::function<void()> processMessages; // called between disks and first-level folders
    };

    DatabaseLoader(MusicDatabase& db, Options options);

    // AnalyzeTree. Stops at the first line that cannot be taken (ConversionError or
    // DatabaseFormatError); what was merged before it stays.
    void AnalyzeTree(const LoadTree& source);

    // The status a song stored with this icon takes after loading.
    static int statusAfterLoad(int storedIcon, bool goodCycle);

private:
    // The song captions are the nodes' paths in the music tree, so no path is carried down.
    void AddNodeToBase(size_t source, TreeNode* dest);
    void addSong(TreeNode* dest);
    NodeInfo readLine(size_t index, bool isDisk) const;
    void pump() const;

    MusicDatabase& db_;
    Options options_;
    const LoadTree* source_ = nullptr;
    TreeNode* lastSelected_ = nullptr;
};

} // namespace velmo
