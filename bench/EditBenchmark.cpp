// velmo-bench-edit: times song-level edits on a loaded database of SONGS songs (default
// 1,000,000): finding songs by their Music List caption, renaming folders and following the
// renames in the folder tree, and deleting a tenth of the songs, picked at random across the
// collection, in one batch and in batches of 100.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "DatabaseGenerator.h"
#include "musicdb/RootFolders.h"
#include "musicdb/DatabaseFile.h"
#include "musicdb/DatabaseLoader.h"
#include "musicdb/MusicDatabase.h"
#include "musicdb/TreeSearch.h"
#include "platform/FileIO.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::unique_ptr<velmo::MusicDatabase> loadDatabase(const std::string& path, uint64_t seed) {
    auto db = std::make_unique<velmo::MusicDatabase>(std::make_unique<velmo::Mt19937Random>(seed));
    std::optional<std::string> bytes = velmo::platform::readWholeFile(path);
    if (!bytes) throw std::runtime_error("cannot read " + path);
    velmo::LoadTree tree = velmo::LoadTree::parse(std::move(*bytes));
    velmo::DatabaseLoader(*db, {}).AnalyzeTree(tree);
    return db;
}

// A tenth of the songs, at random places of the Music List.
std::vector<velmo::TDataRec*> pickTenth(velmo::MusicDatabase& db, std::mt19937& rng) {
    std::vector<velmo::TDataRec*> all;
    all.reserve(db.musicList().size());
    for (velmo::ListItem* i = db.musicList().first(); i; i = db.musicList().next(i)) all.push_back(i->data());
    std::shuffle(all.begin(), all.end(), rng);
    all.resize(all.size() / 10);
    return all;
}

void check(bool ok, const char* what) {
    if (!ok) throw std::runtime_error(what);
}

} // namespace

int main(int argc, char** argv) {
    velmo::bench::Shape shape = velmo::bench::Shape::Collection;
    const bool shapeOk = velmo::bench::takeShapeOption(argc, argv, shape);
    uint64_t songs = 1000000;
    if (!shapeOk || (argc > 1 && !velmo::bench::parseNumber(argv[1], songs))) {
        std::fprintf(stderr, "usage: velmo-bench-edit [SONGS] [--shape collection|merged]\n");
        return 2;
    }
    const uint64_t seed = 1;
    try {
        const std::string file = (std::filesystem::temp_directory_path() /
                                  ("velmo-bench-edit-" + std::to_string(songs) + ".vmdb")).string();
        velmo::bench::generateDatabase(songs, file, seed, shape);
        std::mt19937 rng(7);

        auto db = loadDatabase(file, seed);
        const size_t total = db->musicList().size();

        // Lookups of 100,000 captions (taken beforehand: reading a caption is not the lookup).
        std::vector<std::string> captions;
        for (velmo::TDataRec* rec : pickTenth(*db, rng)) captions.push_back(rec->MusicListItem->caption());
        auto start = Clock::now();
        size_t found = 0;
        for (const std::string& c : captions) found += db->findSong(c) != nullptr;
        const double lookup = secondsSince(start);
        check(found == captions.size(), "a caption was not found");

        // Searching every node, then stepping from 1,000 selections anywhere in the tree. The
        // search watches the tree, so it ends before the database is loaded anew below.
        std::optional<velmo::TreeSearch> searching(std::in_place);
        velmo::TreeSearch& search = *searching;
        start = Clock::now();
        const size_t hits = search.SearchInTree(db->musicTree(), search.splitWords("an*e"));
        const double searchAll = secondsSince(start);
        std::vector<velmo::TreeNode*> selections;
        db->musicTree().forEach([&](velmo::TreeNode* n, int) { selections.push_back(n); });
        std::shuffle(selections.begin(), selections.end(), rng);
        selections.resize(std::min<size_t>(selections.size(), 1000));
        start = Clock::now();
        size_t stepped = 0;
        for (velmo::TreeNode* n : selections) stepped += search.next(n) != nullptr && search.previous(n) != nullptr;
        const double steps = secondsSince(start);
        check(hits == 0 || stepped == selections.size(), "a step found no hit");

        // Renaming 1,000 folders to a text of another place among their siblings.
        std::vector<velmo::TreeNode*> folders;
        db->musicTree().forEach([&](velmo::TreeNode* n, int level) {
            if (level > 0 && velmo::isFolderImage(n->imageIndex())) folders.push_back(n);
        });
        std::shuffle(folders.begin(), folders.end(), rng);
        folders.resize(std::min<size_t>(folders.size(), 1000));
        start = Clock::now();
        for (velmo::TreeNode* f : folders) db->renameNode(f, "~" + f->text());
        const double rename = secondsSince(start);

        // Renaming the folder with the most songs below it: every caption below reads anew.
        std::unordered_map<velmo::TreeNode*, size_t> songsBelow;
        db->musicTree().forEach([&](velmo::TreeNode* n, int) {
            if (!n->data()) return;
            for (velmo::TreeNode* p = n->parent(); p && p->parent(); p = p->parent()) ++songsBelow[p];
        });
        velmo::TreeNode* biggest = nullptr;
        size_t biggestSongs = 0;
        for (auto [folder, count] : songsBelow)
            if (count > biggestSongs) biggest = folder, biggestSongs = count;
        start = Clock::now();
        if (biggest) db->renameNode(biggest, biggest->text() + " (renamed)");
        const double renameBig = secondsSince(start);

        // The renames above left the folder tree behind; marking roots rebuilds it as a whole.
        start = Clock::now();
        velmo::RootFolders(*db).ReloadRootTree();
        const double rebuildFolders = secondsSince(start);

        // Renames as the window makes them, each followed in the folder tree: 100 folders and
        // 10 disks picked at random, then the folder with the most songs once more. The tree
        // they leave must be the one a rebuild makes.
        std::vector<velmo::TreeNode*> followed(folders.begin(), folders.begin() + std::min<size_t>(folders.size(), 100));
        for (size_t i = 0; i < 10 && db->musicTree().topLevelCount() > 0; ++i)
            followed.push_back(db->musicTree().topLevel(rng() % db->musicTree().topLevelCount()));
        double followTotal = 0, followWorst = 0;
        for (velmo::TreeNode* n : followed) {
            db->renameNode(n, "^" + n->text());
            start = Clock::now();
            velmo::RootFolders(*db).FollowRename(n);
            const double t = secondsSince(start);
            followTotal += t;
            followWorst = std::max(followWorst, t);
        }
        double followBig = 0;
        if (biggest) {
            db->renameNode(biggest, "^" + biggest->text());
            start = Clock::now();
            velmo::RootFolders(*db).FollowRename(biggest);
            followBig = secondsSince(start);
        }
        auto folderTreeNow = [&db] {
            std::vector<std::pair<const velmo::TreeNode*, std::string>> nodes;
            db->folderTree().forEach([&](velmo::TreeNode* n, int level) {
                nodes.emplace_back(nullptr, std::to_string(level) + " " + std::to_string(n->imageIndex()) + " " +
                                                n->text());
                nodes.back().first = n->data() ? n->data()->MusicNode : nullptr;
            });
            return nodes;
        };
        const auto afterFollowing = folderTreeNow();
        velmo::RootFolders(*db).ReloadRootTree();
        check(folderTreeNow() == afterFollowing, "following renames gave another folder tree than a rebuild");

        // One batch of a tenth of the songs.
        std::vector<velmo::TDataRec*> gone = pickTenth(*db, rng);
        start = Clock::now();
        db->removeSongs(gone);
        const double removeOne = secondsSince(start);
        check(db->musicList().size() == total - gone.size(), "songs were not removed");
        check(db->counters().a.count == static_cast<int32_t>(total - gone.size()), "the counters are wrong");

        // Again on a fresh database, in batches of 100 (a user deleting a selection at a time).
        searching.reset();
        db.reset();
        db = loadDatabase(file, seed);
        gone = pickTenth(*db, rng);
        start = Clock::now();
        for (size_t i = 0; i < gone.size(); i += 100)
            db->removeSongs(std::vector<velmo::TDataRec*>(gone.begin() + static_cast<std::ptrdiff_t>(i),
                                                          gone.begin() + static_cast<std::ptrdiff_t>(
                                                                             std::min(gone.size(), i + 100))));
        const double removeBatches = secondsSince(start);
        check(db->musicList().size() == total - gone.size(), "songs were not removed");
        std::filesystem::remove(file);

        std::printf("songs %zu\n", total);
        std::printf("search all nodes (%zu hits) %8.3f s\n", hits, searchAll);
        std::printf("next+previous x%zu        %8.3f s  %6.2f us each\n", selections.size(), steps,
                    steps * 1e6 / (2.0 * static_cast<double>(selections.size())));
        std::printf("find %zu captions         %8.3f s  %6.2f us each\n", captions.size(), lookup,
                    lookup / static_cast<double>(captions.size()) * 1e6);
        std::printf("rename %zu folders         %8.3f s  %6.2f us each\n", folders.size(), rename,
                    rename / static_cast<double>(folders.size()) * 1e6);
        std::printf("rename a folder of %zu songs %6.3f s\n", biggestSongs, renameBig);
        std::printf("rebuild the folder tree     %8.3f s\n", rebuildFolders);
        std::printf("follow %zu renames          %8.3f s  %6.2f ms each, %.2f ms at most\n", followed.size(),
                    followTotal, followTotal * 1e3 / static_cast<double>(std::max<size_t>(followed.size(), 1)),
                    followWorst * 1e3);
        std::printf("follow the rename of %zu songs %6.3f s\n", biggestSongs, followBig);
        std::printf("delete %zu songs, 1 batch  %8.3f s  %6.2f us each\n", gone.size(), removeOne,
                    removeOne / static_cast<double>(gone.size()) * 1e6);
        std::printf("delete %zu songs, by 100   %8.3f s  %6.2f us each\n", gone.size(), removeBatches,
                    removeBatches / static_cast<double>(gone.size()) * 1e6);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "velmo-bench-edit: %s\n", e.what());
        return 1;
    }
    return 0;
}
