#include "playlist/PlaylistGenerator.h"

#include "base/MessageTable.h"
#include "base/UserInterface.h"
#include "musicdb/MusicDatabase.h"
#include "settings/ProfileSettings.h"

namespace velmo {

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
    // Each song drawn leaves the unheard songs through its change of status.
    UnheardSongs& draw = db.unheardSongs();
    if (draw.empty()) return;
    if (s.reseedFromClock) db.random().reseed(clockSeed());

    StatisticsBatch batch(db);
    StatusListsBulkUpdate lists(db, true);
    // The drawn songs go to random rows of the playlist: placed together, not one by one.
    InsertBatch inserts(db.playList());
    const double limit = s.settings.SizeOfDB;
    const StatCounters& c = db.counters();
    TDataRec* lastTaken = nullptr;
    bool lastWasGood = false;
    do {
        const size_t slot = draw.slotOf(db.random().below(static_cast<uint32_t>(draw.size())));
        if (limit <= c[cP].sizeMB) break;
        size_t taken = slot;
        if (s.settings.GoodFixed) {
            const auto kind = draw.kind(slot);
            if (!passesAcceptanceTest(s, kind == UnheardSongs::JustGood)) {
                // Both kinds cannot fail together, so the other kind passes.
                const auto other = kind == UnheardSongs::JustGood ? UnheardSongs::Ordinary : UnheardSongs::JustGood;
                taken = draw.nextOfKind(slot, other);
                if (taken == SIZE_MAX) taken = slot; // cannot happen while the counters hold
            }
        }
        lastTaken = draw.record(taken);
        lastWasGood = draw.kind(taken) == UnheardSongs::JustGood;
        db.SetStatus(lastTaken, lastWasGood ? ssGoodPlayList : ssPlayList);
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
