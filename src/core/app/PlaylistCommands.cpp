#include "app/PlaylistCommands.h"

#include "app/DatabaseCommands.h"
#include "app/Session.h"
#include "playlist/PlaylistGenerator.h"

namespace velmo {

void MakeNextPlayList(Session& s) {
    if (s.PlaylistCopied) DoAfterCopy(s);
    if (s.settings.SizeOfDB >= s.db.counters()[cP].sizeMB) MakePlayList(s.playlistContext());
    s.PlaylistCopied = false;
    s.db.notifyStatisticsChanged();
}

void DoAfterCopy(Session& s) {
    markPlaylistHeard(s.playlistContext());
    if (CheckIfResetNeeded(s)) MenuItemResetIconsClick(s);
}

bool CheckIfResetNeeded(Session& s) { return CheckIfResetNeeded(s.playlistContext()); }

} // namespace velmo
