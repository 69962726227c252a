#pragma once

namespace velmo {

struct Session;

// "Make playlist": marks a copied playlist as heard (and asks about a reset), then fills the
// playlist at random with unheard songs up to the size limit, with the Just Good share.
void ButtonMakePlayListClick(Session& s);

// One generation: greedy random fill up to SizeOfDB; the song that overshoots goes back.
void MakePlayList(Session& s);

// The songs of a copied playlist become heard; then the reset question.
void DoAfterCopy(Session& s);

// Asks the reset question when the unheard songs have run out (or only Favorites and Just
// Good ones are left); true when the user answered Yes. With "Cycle" the Just Good songs
// start over first when none is unheard.
bool CheckIfResetNeeded(Session& s);

// Every Just Good song becomes Just Good unused.
void ResetGood(Session& s);
// Every heard Just Good song becomes Just Good unused.
void UnUseGood(Session& s);

// Whether a candidate of this kind may be taken now, by the Just Good share.
bool passesAcceptanceTest(const Session& s, bool justGood);

} // namespace velmo
