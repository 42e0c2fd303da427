// What the toolkit's own checks (wx assertions) do in this program. wx keeps them on in every
// build Debian ships, and by default one shows a dialog whose Stop ends the program at once; a
// player can do nothing about either. Here each is written once to stderr, and the program goes
// on.
#pragma once

namespace verselane {

// From now on, for the whole process: the first time an assertion fails at a place in the code,
// its place, condition and message go to stderr, in the form wx itself prints them; later
// failures at the same place are passed over.
void LogToolkitAssertionsOnce();

}  // namespace verselane
