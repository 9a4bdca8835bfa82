#!/usr/bin/env bash
# Numbers a spreadsheet reads as numbers, in a Russian and in an English locale: a stretch of the hourly
# archive read by zt5ctl from the simulated meter as the worksheet page and as CSV (with the locale's
# decimal separator, zt5ctl's default), and the settings report, opened by LibreOffice headless and
# saved as flat ODS, where every value cell must be a number with the value the CSV with decimal points
# gives. Without LibreOffice the test is skipped (exit 77), unless ZT5_REQUIRE_READERS is set.
#   libreoffice_numbers_check.sh ZT5CTL ZT5_METER_SIM ZT5_SAMPLE_REPORT
set -u
zt5ctl="$1" sim="$2" sample="$3"
if ! command -v libreoffice >/dev/null; then
  # scripts/test-all.sh installs it and sets ZT5_REQUIRE_READERS, so that a run there cannot pass by skipping.
  [ -n "${ZT5_REQUIRE_READERS:-}" ] && { echo "libreoffice is not installed"; exit 1; }
  echo "libreoffice is not installed: skipped"
  exit 77
fi
work=$(mktemp -d)
sim_pid=
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

"$sim" --tcp 127.0.0.1:0 --archive-end 2024-03-10T12 --seed 7 > "$work/sim.out" 2>&1 &
sim_pid=$!
for _ in $(seq 100); do [ -s "$work/sim.out" ] && break; sleep 0.1; done
place=$(head -1 "$work/sim.out")
[ -n "$place" ] || { echo "the simulator did not start"; exit 1; }

range=(archive hour --from 2024-03-09 --to 2024-03-09T03 --quantities t1_1,V1_1,dT_1 --tcp "$place"
       --database "sqlite:$work/Data.sqlite")
LC_ALL=C "$zt5ctl" "${range[@]}" --format csv --decimal-separator point -o "$work/truth.csv" 2>/dev/null ||
  { echo "zt5ctl did not write the CSV"; exit 1; }
LC_ALL=C "$zt5ctl" "${range[@]}" --format html -o "$work/range.xls" 2>/dev/null || { echo "no worksheet page"; exit 1; }
LC_ALL=ru_RU.UTF-8 "$zt5ctl" "${range[@]}" --format csv -o "$work/range-ru.csv" 2>/dev/null || exit 1
LC_ALL=en_US.UTF-8 "$zt5ctl" "${range[@]}" --format csv -o "$work/range-en.csv" 2>/dev/null || exit 1
"$sample" "$work/report.xls" || { echo "the sample report was not written"; exit 1; }

# The values every sheet must hold: the number cells of the CSV with points, row by row.
expected=$(tail -n +2 "$work/truth.csv" | tr -d '\r' | cut -d';' -f2-4 | tr ';' '\n' | grep -v '^$')
[ "$(echo "$expected" | wc -l)" -ge 8 ] || { echo "too few values in the CSV"; cat "$work/truth.csv"; exit 1; }

# The cells of a flat ODS file, one a line: "float 56.374" or "string".
cells() {
  grep -o '<table:table-cell[^>]*office:value-type="[a-z]*"[^>]*>' "$1" | while read -r cell; do
    type=$(echo "$cell" | sed -n 's/.*office:value-type="\([a-z]*\)".*/\1/p')
    value=$(echo "$cell" | sed -n 's/.*office:value="\([^"]*\)".*/\1/p')
    repeat=$(echo "$cell" | sed -n 's/.*table:number-columns-repeated="\([0-9]*\)".*/\1/p')
    for _ in $(seq "${repeat:-1}"); do echo "$type $value" | sed 's/ $//'; done
  done
}

convert() {  # LOCALE OUT_DIR FILE [INFILTER]
  local locale="$1" out="$2" file="$3"
  local filter=()
  [ $# -ge 4 ] && filter=("--infilter=$4")
  HOME="$work" LC_ALL="$locale" LANG="$locale" timeout 240 libreoffice --headless --norestore \
    "-env:UserInstallation=file://$work/profile-$locale" "${filter[@]}" --convert-to fods --outdir "$out" "$file" \
    > "$work/lo.log" 2>&1
  local fods="$out/$(basename "${file%.*}").fods"
  [ -s "$fods" ] || { echo "LibreOffice wrote nothing for $file ($locale)"; cat "$work/lo.log"; return 1; }
  echo "$fods"
}

failures=0
check_values() {  # WHAT FODS
  local got
  got=$(cells "$2" | grep '^float ' | cut -d' ' -f2)
  # The sheet's numbers must be the CSV's, in order; awk compares them as numbers.
  if ! paste <(echo "$expected") <(echo "$got" | head -n "$(echo "$expected" | wc -l)") |
       awk -F'\t' '$2 == "" || ($1 + 0) != ($2 + 0) { bad = 1; print "  expected " $1 ", got " ($2 == "" ? "no number" : $2) }
                   END { exit bad }'; then
    echo "FAIL: $1"
    failures=$((failures + 1))
  else
    echo "ok: $1"
  fi
}

for locale in ru_RU.UTF-8 en_US.UTF-8; do
  short=${locale%%_*}
  fods=$(convert "$locale" "$work/out-$short-xls" "$work/range.xls") || exit 1
  check_values "the worksheet page under $locale" "$fods"
  fods=$(convert "$locale" "$work/out-$short-csv" "$work/range-$short.csv" "CSV:59,34,76,1") || exit 1
  check_values "the CSV of the $locale locale under $locale" "$fods"
  fods=$(convert "$locale" "$work/out-$short-report" "$work/report.xls") || exit 1
  # The contract pressure of the known configuration, 6.11832 in three columns, is a number.
  count=$(cells "$fods" | grep -cx 'float 6.11832')
  if [ "$count" -ge 3 ]; then echo "ok: the settings report under $locale"; else
    echo "FAIL: the settings report under $locale has $count numbers 6.11832"; failures=$((failures + 1)); fi
done
[ $failures -eq 0 ] && echo "every value is a number in both locales" || exit 1
