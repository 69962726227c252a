#include "CliCommand.h"

#include "TerminalUi.h"
#include "app/Session.h"
#include "app/StatusCommands.h"
#include "musicdb/MusicDatabase.h"

namespace velmo::cli {

std::optional<std::vector<TDataRec*>> songsOfCaptions(Context& c, const Arguments& captions) {
    MusicDatabase& db = c.session.db;
    std::vector<const TreeNode*> nodes;
    for (const std::string& caption : captions) {
        const std::vector<TDataRec*> songs = db.findSongs(caption);
        for (const TDataRec* song : songs) nodes.push_back(song->MusicNode);
        if (!songs.empty()) continue;
        const TreeNode* node = db.findNode(db.musicTree(), caption);
        if (!node) {
            c.ui.showError("No song, folder or disk has the caption \"" + caption + "\".");
            return std::nullopt;
        }
        nodes.push_back(node);
    }
    return selectionFromTree(nodes, true, true);
}

} // namespace velmo::cli
