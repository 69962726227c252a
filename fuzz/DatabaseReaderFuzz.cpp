// Feeds arbitrary bytes to the database reader and the merge: no crash, no hang, and the
// counters must still mirror the lists afterwards.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "musicdb/DatabaseFile.h"
#include "musicdb/DatabaseLoader.h"
#include "musicdb/MusicDatabase.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velmo;
    MusicDatabase db(std::make_unique<Mt19937Random>(1));
    try {
        LoadTree tree = LoadTree::parse(std::string(reinterpret_cast<const char*>(data), size));
        DatabaseLoader::Options options;
        options.goodCycle = size % 2 == 1;
        DatabaseLoader(db, options).AnalyzeTree(tree);
    } catch (const std::exception&) {
        // Errors are reported to the user; what matters is what is left behind.
    }
    const StatCounters& c = db.counters();
    if (static_cast<size_t>(c[cP].count) != db.playList().size() ||
        static_cast<size_t>(c[cB].count) != db.blackList().size() ||
        static_cast<size_t>(c[cF].count) != db.favorites().size() ||
        static_cast<size_t>(c[cG].count) != db.justGood().size() ||
        static_cast<size_t>(c.a.count) != db.musicList().size())
        abort();
    (void)formatDatabase(db.musicTree());
    return 0;
}
