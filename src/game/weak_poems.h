// Which poems a player does not know yet, from the history of their answers: the weakness of a
// poem and the poems of a weak-poems run. It is a score of its own, apart from the memory model
// (it weighs recent misses and slow answers, which pick a drill's poems well); the mastery window
// shows it beside a poem's figures, named as this run's.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "records/answer_history.h"

namespace verselane {

// Weakness, from 0 (known) to 1, of a poem asked at least once, at Unix time `now`:
//
//   0.60 × miss + 0.25 × slow + 0.15 × forgotten
//
// miss      = (wrong + 1) ÷ (answers + 2) over the poem's last kRecentAnswers answers: a poem
//             answered once is not yet known either way, and old misses fade out as it is learnt;
// slow      = the median seconds of those right answers, 0 at the scoring's grace time (5 s) or
//             quicker, rising evenly to 1 at its time limit (15 s); 1 with no right answer;
// forgotten = 1 − 2^(−days since the last right answer ÷ 7), 1 with no right answer.
double Weakness(const PoemFigures& poem, std::int64_t now);

// A weak-poems run asks this many poems at most: a short drill of the weakest, not everything
// ever asked (the settings' count is 100 until the player changes it).
inline constexpr int kWeakRunPoems = 10;

// The poems of a weak-poems run: at most `count` of those in `poems`, weakest first, a tie going
// to the lower poem number.
std::vector<int> WeakestPoems(const std::vector<PoemFigures>& poems, std::int64_t now, int count);

}  // namespace verselane
