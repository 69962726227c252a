#include "CliCommand.h"

#include <filesystem>

#include "TerminalUi.h"
#include "app/NativePathLookup.h"
#include "app/Session.h"
#include "app/StatusCommands.h"
#include "musicdb/MusicDatabase.h"

namespace velmo::cli {

namespace {

// A word that means a place on this machine rather than a caption: absolute, or relative to
// where the command runs ("./a.mp3", "Pop/a.mp3" when it exists there).
std::optional<std::string> nativeWord(const std::string& word) {
    std::error_code ec;
    const bool explicitPath = word.starts_with('/') || word.starts_with("./") || word.starts_with("../");
    if (!explicitPath && !std::filesystem::exists(word, ec)) return std::nullopt;
    std::string path = std::filesystem::absolute(word, ec).lexically_normal().string();
    if (ec) return std::nullopt;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::vector<TreeNode*> nodesOfCaption(Context& c, const std::string& caption) {
    MusicDatabase& db = c.session.db;
    std::vector<TreeNode*> nodes;
    for (const TDataRec* song : db.findSongs(caption)) nodes.push_back(song->MusicNode);
    if (!nodes.empty()) return nodes;
    if (TreeNode* node = db.findNode(db.musicTree(), caption)) return {node};
    const std::optional<std::string> native = nativeWord(caption);
    if (!native) return {};
    nodes = nodesOfNativePath(c.session, *native);
    // A path through a link reaches the catalogued place under its real name.
    std::error_code ec;
    if (nodes.empty()) {
        const std::string real = std::filesystem::weakly_canonical(*native, ec).string();
        if (!ec && real != *native) nodes = nodesOfNativePath(c.session, real);
    }
    return nodes;
}

void showUnknownCaption(Context& c, const std::string& caption) {
    if (const std::optional<std::string> native = nativeWord(caption))
        c.ui.showError("Nothing catalogued is at \"" + *native + "\" and no song, folder or disk has the caption \"" +
                       caption + "\".");
    else
        c.ui.showError("No song, folder or disk has the caption \"" + caption + "\".");
}

} // namespace

std::optional<std::vector<TDataRec*>> songsOfCaptions(Context& c, const Arguments& captions) {
    std::vector<const TreeNode*> nodes;
    for (const std::string& caption : captions) {
        const std::vector<TreeNode*> found = nodesOfCaption(c, caption);
        if (found.empty()) {
            showUnknownCaption(c, caption);
            return std::nullopt;
        }
        nodes.insert(nodes.end(), found.begin(), found.end());
    }
    return selectionFromTree(nodes, true, true);
}

TreeNode* nodeOfCaption(Context& c, const std::string& caption) {
    const std::vector<TreeNode*> found = nodesOfCaption(c, caption);
    if (found.empty()) showUnknownCaption(c, caption);
    return found.empty() ? nullptr : found.front();
}

} // namespace velmo::cli
