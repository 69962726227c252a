#pragma once

namespace velmo {

struct Session;

// "Make playlist": marks a copied playlist as heard (and asks about a reset), then fills the
// playlist at random with unheard songs up to the size limit, with the Just Good share.
void MakeNextPlayList(Session& s);

// The songs of a copied playlist become heard; then the reset question, and "Reset icons"
// when the user wants it.
void DoAfterCopy(Session& s);

// The reset question of start-up and after a copy; true for Yes.
bool CheckIfResetNeeded(Session& s);

} // namespace velmo
