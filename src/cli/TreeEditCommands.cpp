// search, rename and delete: the search field, the in-place edit and the delete buttons.
#include <cstdint>
#include <ostream>

#include "CliCommand.h"
#include "TerminalUi.h"
#include "app/Session.h"
#include "app/TreeEdits.h"
#include "base/MessageTable.h"
#include "musicdb/MusicDatabase.h"
#include "musicdb/TreeSearch.h"

namespace velmo::cli {

namespace {

struct SearchArguments {
    std::string text;
    bool folders = false;
};

SearchArguments searchArguments(const Arguments& args) {
    SearchArguments a;
    size_t texts = 0;
    for (const std::string& arg : args) {
        if (arg == "--folders") a.folders = true;
        else if (++texts == 1) a.text = arg;
    }
    if (texts != 1) throw UsageError("search needs one TEXT");
    return a;
}

struct DeleteArguments {
    Arguments captions;
    bool physical = false;
};

DeleteArguments deleteArguments(const Arguments& args) {
    DeleteArguments a;
    for (const std::string& arg : args) {
        if (arg == "--physical") a.physical = true;
        else a.captions.push_back(arg);
    }
    if (a.captions.empty()) throw UsageError("delete needs a CAPTION");
    return a;
}

bool cmdSearch(Context& c, const Arguments& args) {
    const SearchArguments a = searchArguments(args);
    Session& s = c.session;
    const Tree& tree = a.folders ? s.db.folderTree() : s.db.musicTree();
    TreeSearch search(s.db.collator().localeName());
    if (search.SearchInTree(tree, search.splitWords(TreeSearch::trimOuterStars(a.text))) == 0) {
        // No hit fails the command, as grep does.
        c.ui.showNotice(s.messages[msgInformation], s.messages[msgSubstringNotFound]);
        return false;
    }
    for (const TreeNode* hit : search.hits()) c.out << musicTreePath(hit) << '\t' << int(hit->imageIndex()) << '\n';
    return true;
}

bool cmdRename(Context& c, const Arguments& args) {
    Session& s = c.session;
    TreeNode* node = nodeOfCaption(c, args[0]);
    if (!node) return false;
    if (!TreeViewMusicTreeEditing(node)) {
        c.ui.showError("\"" + args[0] + "\" cannot be renamed: it lies on an optical disk, whose files keep their names.");
        return false;
    }
    return TreeViewMusicTreeEdited(s, node, args[1]);
}

bool cmdDelete(Context& c, const Arguments& args) {
    const DeleteArguments a = deleteArguments(args);
    const auto songs = songsOfCaptions(c, a.captions);
    // A declined confirmation deleted nothing: the command did not do what it was asked.
    return songs && DeleteSelectedFiles(c.session, *songs, a.physical);
}

} // namespace

std::vector<Command> treeEditCommands() {
    return {
        {"search", 1, 2, false, cmdSearch, [](const Arguments& a) { searchArguments(a); }},
        {"rename", 2, 2, true, cmdRename},
        {"delete", 1, SIZE_MAX, true, cmdDelete, [](const Arguments& a) { deleteArguments(a); }},
    };
}

} // namespace velmo::cli
