#pragma once

namespace velmo {

class MusicDatabase;
class MessageTable;
class UserInterface;
struct ProfileSettings;

// What drawing a playlist reads and changes. Without `reseedFromClock` (a seed given by the
// user) generations continue one reproducible random sequence.
struct PlaylistContext {
    MusicDatabase& db;
    const ProfileSettings& settings;
    UserInterface& ui;
    const MessageTable& messages;
    bool reseedFromClock = true;
};

// One generation: greedy random fill up to SizeOfDB; the song that overshoots goes back.
void MakePlayList(const PlaylistContext& s);

// The songs of a copied playlist become heard (Just Good ones by the Just Good style).
void markPlaylistHeard(const PlaylistContext& s);

// Asks the reset question when the unheard songs have run out (or only Favorites and Just
// Good ones are left); true when the user answered Yes. With "Cycle" the Just Good songs
// start over first when none is unheard.
bool CheckIfResetNeeded(const PlaylistContext& s);

// Every Just Good song becomes Just Good unused.
void ResetGood(const PlaylistContext& s);
// Every heard Just Good song becomes Just Good unused.
void UnUseGood(const PlaylistContext& s);

// Whether a candidate of this kind may be taken now, by the Just Good share.
bool passesAcceptanceTest(const PlaylistContext& s, bool justGood);

} // namespace velmo
