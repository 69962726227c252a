#include "playlist/PlaylistGenerator.h"

#include "base/MessageTable.h"
#include "base/UserInterface.h"
#include "musicdb/MusicDatabase.h"
#include "settings/ProfileSettings.h"
#include "playlist/DrawList.h"

namespace velmo {

namespace {

constexpr uint8_t kUnusedImage = imageOfStatus(ssUnused);
constexpr uint8_t kGoodUnusedImage = imageOfStatus(ssGoodUnused);

} // namespace

bool passesAcceptanceTest(const PlaylistContext& s, bool justGood) {
    const StatCounters& c = s.db.counters();
    const double n = s.settings.GoodPercent;
    const double p = c[cP].sizeMB;
    const double gp = c[cGP].sizeMB;
    const double base = s.settings.GoodOfPlayList ? p : c[cG].sizeMB;
    if (justGood) return n / 100.0 > gp / (base + 1.0) || c[cN].count - c[cGN].count - c[cF].count == 0;
    return (100.0 - n) / 100.0 > (base - gp) / (base + 1.0) || c[cGN].count == 0;
}

void MakePlayList(const PlaylistContext& s) {
    MusicDatabase& db = s.db;
    std::vector<TDataRec*> records;
    std::vector<DrawList::Kind> kinds;
    ItemList& music = db.musicList();
    records.reserve(music.size());
    kinds.reserve(music.size());
    music.forEach([&](const ListItem* item) {
        if (item->imageIndex() == kUnusedImage || item->imageIndex() == kGoodUnusedImage) {
            records.push_back(item->data());
            kinds.push_back(item->imageIndex() == kGoodUnusedImage ? DrawList::JustGood : DrawList::Ordinary);
        }
    });
    DrawList draw;
    draw.assign(std::move(records), std::move(kinds));
    if (draw.empty()) return;
    if (s.reseedFromClock) db.random().reseed(clockSeed());

    StatisticsBatch batch(db);
    StatusListsBulkUpdate lists(db, true);
    const double limit = s.settings.SizeOfDB;
    const StatCounters& c = db.counters();
    TDataRec* lastTaken = nullptr;
    bool lastWasGood = false;
    do {
        const size_t position = draw.positionOf(db.random().below(static_cast<uint32_t>(draw.size())));
        if (limit <= c[cP].sizeMB) break;
        size_t taken = position;
        if (s.settings.GoodFixed) {
            const auto kind = draw.kind(position);
            if (!passesAcceptanceTest(s, kind == DrawList::JustGood)) {
                // Both kinds cannot fail together, so the other kind passes.
                const auto other = kind == DrawList::JustGood ? DrawList::Ordinary : DrawList::JustGood;
                taken = draw.nextOfKind(position, other);
                if (taken == SIZE_MAX) taken = position; // cannot happen while the counters hold
            }
        }
        lastTaken = draw.record(taken);
        lastWasGood = draw.kind(taken) == DrawList::JustGood;
        db.SetStatus(lastTaken, lastWasGood ? ssGoodPlayList : ssPlayList);
        if (limit > c[cP].sizeMB) draw.remove(taken);
    } while (limit > c[cP].sizeMB && c[cN].count != c[cF].count && !draw.empty());

    if (lastTaken && c[cP].sizeMB > limit) db.SetStatus(lastTaken, lastWasGood ? ssGoodUnused : ssUnused);
}

void markPlaylistHeard(const PlaylistContext& s) {
    MusicDatabase& db = s.db;
    {
        StatisticsBatch batch(db);
        StatusListsBulkUpdate lists(db, true);
        ItemList& playList = db.playList();
        // Each change removes the item from the playlist: take the next one before it goes.
        for (ListItem* item = playList.first(); item;) {
            ListItem* next = playList.next(item);
            switch (item->imageIndex()) {
            case imageOfStatus(ssPlayList): db.SetStatus(item->data(), ssUsed); break;
            case imageOfStatus(ssGoodPlayList):
                db.SetStatus(item->data(), s.settings.GoodCycle ? ssGoodUsed : ssGoodUnused);
                break;
            default: break;
            }
            item = next;
        }
    }
}

bool CheckIfResetNeeded(const PlaylistContext& s) {
    const StatCounters& c = s.db.counters();
    const bool cycle = s.settings.GoodCycle;
    if (c[cGN].count == 0 && cycle) ResetGood(s);
    if (c.a.count == 0) return false;
    const int32_t n = c[cN].count, f = c[cF].count, gn = c[cGN].count, g = c[cG].count;
    Msg message;
    if (n == 0) message = msgNoMoreSongs;
    else if (n == f) message = msgOnlyFavoritesLeft;
    else if (n == gn && (!cycle || gn == g)) message = msgOnlyJustGoodLeft;
    else if (f + gn == n && (!cycle || gn == g)) message = msgOnlyFavoritesAndJustGoodLeft;
    else return false;
    return s.ui.askYesNo(s.messages[msgHeardAllSongs], s.messages[message], true);
}

void ResetGood(const PlaylistContext& s) {
    s.ui.processMessages();
    s.ui.showStatus(s.messages[msgRefreshingJustGood]);
    {
        StatisticsBatch batch(s.db);
        StatusListsBulkUpdate lists(s.db, true);
        ItemList& justGood = s.db.justGood();
        for (ListItem* item = justGood.first(); item; item = justGood.next(item))
            s.db.SetStatus(item->data(), ssGoodUnused);
    }
    s.ui.showStatus({});
}

void UnUseGood(const PlaylistContext& s) {
    StatisticsBatch batch(s.db);
    ItemList& music = s.db.musicList();
    for (ListItem* item = music.first(); item; item = music.next(item))
        if (item->imageIndex() == imageOfStatus(ssGoodUsed)) s.db.SetStatus(item->data(), ssGoodUnused);
}

} // namespace velmo
