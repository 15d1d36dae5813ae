#!/usr/bin/env bash
# --frame-data prints its table and exits 0, and the README shows the table as printed, and
# the rows of the later fighters' tables.
source "$(dirname "$0")/lib.bash"
README="$(dirname "$0")/../../README.md"

EXIT_STATUS=0
(cd "$WORK" && timeout 60 "$GAME" --frame-data >"$WORK/stdout" 2>"$WORK/stderr") || EXIT_STATUS=$?
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS"
grep -q '^punch  ' "$WORK/stdout" || fail "no punch row: $(cat "$WORK/stdout")"
grep -q '^spinning kick  ' "$WORK/stdout" || fail "no spinning kick row"
# The README's copy is indented by four spaces, from the table's first line to its last.
sed 's/^/    /; s/^ *$//' "$WORK/stdout" >"$WORK/expected"
first=$(head -n 1 "$WORK/expected")
grep -qxF -- "$first" "$README" || fail "the README has no frame-data table"
awk -v first="$first" -v lines="$(wc -l <"$WORK/expected")" \
    '$0 == first { n = lines } n > 0 { print; n-- }' "$README" >"$WORK/readme"
diff -u "$WORK/expected" "$WORK/readme" >&2 || fail "the README's table differs from the program's"
# The new fighters' rows, shown in "Fighters and stages" indented by six spaces.
for fighter in kaede goro; do
    "$GAME" --frame-data --p2 "$fighter" | awk '/^punch /{p=1} p && /^$/{exit} p' >"$WORK/rows"
    [ -s "$WORK/rows" ] || fail "no frame data for $fighter"
    while IFS= read -r row; do
        grep -qxF -- "      $row" "$README" || fail "the README lacks $fighter's row: $row"
    done <"$WORK/rows"
done
echo "ok"
