#pragma once
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "musicdb/DatabaseFile.h"

namespace velmo {

class MusicDatabase;
namespace platform {
class HugePageHeap;
}
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

    // AnalyzeTree. Every line is checked first; the lines before the first one that cannot
    // be taken are merged, then its error (a DatabaseFormatError naming the line) is thrown.
    void AnalyzeTree(const LoadTree& source);

    // The status a song stored with this icon takes after loading.
    static int statusAfterLoad(int storedIcon, bool goodCycle);

private:
    // The line's entries as checked by the first pass.
    NodeInfo readLine(size_t index, bool isDisk) const;
    size_t validate();
    size_t childrenEnd(size_t index) const;
    void AddNodeToBase(size_t source, TreeNode* dest);
    void addSong(TreeNode* dest);
    void pump() const;

    MusicDatabase& db_;
    Options options_;
    const LoadTree* source_ = nullptr;
    std::vector<NodeInfo> infos_;
    size_t limit_ = 0; // lines from here on are not merged
    TreeNode* lastSelected_ = nullptr;
    platform::HugePageHeap* heap_ = nullptr; // while merging

};

} // namespace velmo
