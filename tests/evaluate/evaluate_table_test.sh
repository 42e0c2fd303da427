#!/usr/bin/env bash
# verselane-evaluate from outside, on a few simulated learners and on a history written through the
# program's own store: its tables hold figures that make sense (FSRS foretells the simulated
# answers better than one constant chance, every loss and share within its range), the same seed
# gives the same tables, an unreadable history is named and makes it exit 1, a bad argument 2.
#
# Usage: evaluate_table_test.sh PATH/verselane-evaluate PATH/e2e-history-seed-tool
set -euo pipefail
source "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/../e2e/e2e_lib.sh"

evaluate=$1
seed_tool=$2
[ -x "$evaluate" ] || fail "$evaluate is not built"
[ -x "$seed_tool" ] || fail "$seed_tool is not built"
make_scratch_work

# Forty days of a player who answers poems 1 to 20 in turn, ten a day, and misses one in four.
history="$work/history.sqlite3"
for day in $(seq 0 39); do
  date=$(date -u -d "2027-02-01 + $day days" +%F)
  for i in $(seq 0 9); do
    printf '%d\t%d\t%d\t%s 20:%02d:00\n' $(((day * 10 + i) % 20 + 1)) \
      $(((day * 7 + i * 3) % 4 != 0)) $((6000 + i * 700 % 5000)) "$date" "$i"
  done
done | "$seed_tool" "$history" || fail "the history could not be seeded"

small=(--learners 8 --days 60 --plan-days 30 --seed 5)
"$evaluate" "${small[@]}" "$history" >"$work/table" 2>"$work/errors" ||
  fail "exited $? on a readable history: $(cat "$work/errors")"
"$evaluate" "${small[@]}" "$history" >"$work/again" || fail "the second run failed"
cmp -s "$work/table" "$work/again" || fail "the same seed gave other tables"

# The rows of the first table: data, answers, model, log loss, binned RMSE.
figure() { # figure DATA-ROW-INDEX MODEL COLUMN
  awk -v want="$1" -v model="$2" -v column="$3" '
    /^Foretelling/ { on = 1; next } /^$/ { on = 0 }
    on && ($0 ~ /fsrs-default/) { block++ }
    on && block == want && $(NF - 2) == model { print $(NF + column); exit }' "$work/table"
}
for block in 1 2; do
  for model in fsrs-default weakness-logistic constant; do
    loss=$(figure "$block" "$model" -1)
    rmse=$(figure "$block" "$model" 0)
    answers=$(figure "$block" "$model" -3)
    [ -n "$loss" ] || fail "no $model row for data $block: $(cat "$work/table")"
    awk -v l="$loss" -v r="$rmse" -v n="$answers" \
      'BEGIN { exit !(l > 0 && l < 1 && r >= 0 && r < 0.5 && n > 50) }' ||
      fail "$model on data $block: log loss $loss, RMSE $rmse over $answers answers"
  done
done
grep -q "^$history " "$work/table" || fail "the history's rows are not named by its path"
awk -v f="$(figure 1 fsrs-default -1)" -v c="$(figure 1 constant -1)" 'BEGIN { exit !(f < c) }' ||
  fail "FSRS foretells the simulated learners no better than a constant: $(cat "$work/table")"

# The fitting table: the simulated learners and the history, each loss within its range; the
# history's 200 answers in its first half are too few to fit, so its weights stay the defaults.
# From the right: worse, RMSE fitted, RMSE defaults, loss fitted, loss defaults, answers, players.
fit_row() { awk -v data="$1" '/^The weights fitted/ { on = 1; next } /^$/ { on = 0 }
                              on && index($0, data) == 1' "$work/table"; }
sim_fit=$(fit_row "simulated (4 held out)")
awk '{ exit !($(NF-6) == 4 && $(NF-4) > 0 && $(NF-4) < 1 && $(NF-3) > 0 && $(NF-3) < 1 &&
             $NF >= 0 && $NF <= 4) }' \
  <<<"$sim_fit" || fail "the simulated learners' fit: $sim_fit"
history_fit=$(fit_row "$history")
awk '{ exit !(NF > 7 && $(NF-4) == $(NF-3) && $(NF-2) == $(NF-1) && $NF == 0) }' <<<"$history_fit" ||
  fail "a history too short to fit changed with fitting: $history_fit"

# The plan's table: one row per target, the retention met not far below or above it, over all
# thirty days and on the thirtieth; the poems learned at the end.
for target in 0.80 0.90 0.95; do
  row=$(awk -v t="$target" '$1 == t' "$work/table")
  [ -n "$row" ] || fail "no row for the target $target"
  awk -v t="$target" '{ exit !($2 > 0 && $3 > t - 0.15 && $3 < 1 && $5 > 0 && $6 > t - 0.3 &&
                              $6 <= 1 && $NF >= 0 && $NF <= 100) }' \
    <<<"$row" ||
    fail "the plan at $target: $row"
done

printf 'not a database' >"$work/broken.sqlite3"
status=0
"$evaluate" "${small[@]}" "$work/broken.sqlite3" >/dev/null 2>"$work/errors" || status=$?
[ "$status" = 1 ] || fail "an unreadable history exited $status, not 1"
grep -qF "broken.sqlite3 cannot be read: it is not a database" "$work/errors" ||
  fail "the unreadable history is not named: $(cat "$work/errors")"

status=0
"$evaluate" --learners 1 >/dev/null 2>&1 || status=$?
[ "$status" = 2 ] || fail "a bad argument exited $status, not 2"
echo "evaluate table test passed"
