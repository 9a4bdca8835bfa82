#!/usr/bin/env bash
# The month's statement end to end: zt5ctl reads November off the simulated meter into an SQLite
# database and writes it as PDF, XLSX and CSV; pdftotext reads the PDF, LibreOffice headless the
# workbook, Python the CSV. The rows' sums must be the total line and the totals archive's
# integrators, every form must hold the same numbers, the same statement made twice must be the same
# file, and with two days taken out of the database the statement from the database alone (no meter)
# must mark them "нет данных", name them on stderr and exit 1. Without pdftotext or LibreOffice the
# test is skipped (exit 77), unless ZT5_REQUIRE_READERS is set.
#   statement_check.sh ZT5CTL ZT5_METER_SIM
set -u
zt5ctl="$1" sim="$2"
for reader in pdftotext libreoffice; do
  if ! command -v "$reader" >/dev/null; then
    [ -n "${ZT5_REQUIRE_READERS:-}" ] && { echo "$reader is not installed"; exit 1; }
    echo "$reader is not installed: skipped"
    exit 77
  fi
done
python=/usr/bin/python3  # Debian's, whatever python3 comes first on PATH
work=$(mktemp -d)
sim_pid=
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "$*"; exit 1; }

"$sim" --tcp 127.0.0.1:0 --archive-end 2026-12-05T12 --seed 7 > "$work/sim.out" 2>&1 &
sim_pid=$!
for _ in $(seq 100); do [ -s "$work/sim.out" ] && break; sleep 0.1; done
place=$(head -1 "$work/sim.out")
[ -n "$place" ] || fail "the simulator did not start"

export SOURCE_DATE_EPOCH=1764979200 LC_ALL=C.UTF-8  # 06.12.2025
db="sqlite:$work/Data.sqlite"
statement=(statement day --month 2026-11 --input 1 --database "$db" --workdir "$work/wd")
"$zt5ctl" --tcp "$place" "${statement[@]}" --decimal-separator point -o "$work/s.csv" 2> "$work/read.err" ||
  fail "the statement off the meter failed: $(cat "$work/read.err")"
grep -q "с прибора: 30" "$work/read.err" || fail "not every record came off the meter: $(cat "$work/read.err")"
for f in a.pdf b.pdf a.xlsx b.xlsx; do
  "$zt5ctl" --tcp "$place" "${statement[@]}" -o "$work/$f" 2> "$work/$f.err" || fail "no $f: $(cat "$work/$f.err")"
done
cmp -s "$work/a.pdf" "$work/b.pdf" || fail "the same statement gave two different PDF files"
cmp -s "$work/a.xlsx" "$work/b.xlsx" || fail "the same statement gave two different workbooks"

pdftotext -layout "$work/a.pdf" "$work/a.txt" || fail "pdftotext could not read the PDF"
# Three days by the hour run over pages: each page with rows has the table head.
"$zt5ctl" --tcp "$place" statement hour --from 2026-11-01 --to 2026-11-03 --input 1 --database "$db" \
  --workdir "$work/wd" -o "$work/hours.pdf" 2> "$work/hours.err" || fail "no hourly PDF: $(cat "$work/hours.err")"
hour_pages=$(pdfinfo "$work/hours.pdf" | sed -n 's/^Pages: *//p')
[ "$hour_pages" -ge 2 ] || fail "72 hours fit one page"
with_rows=0
for page in $(seq "$hour_pages"); do
  pdftotext -layout -f "$page" -l "$page" "$work/hours.pdf" "$work/page.txt"
  grep -q "^[0-9][0-9].11.2026 [0-9][0-9]:00 " "$work/page.txt" || continue
  with_rows=$((with_rows + 1))
  grep -q "M1−M2" "$work/page.txt" || fail "page $page of the hourly statement has no table head"
  grep -q "Страница $page из $hour_pages" "$work/page.txt" || fail "page $page is not numbered \"$page из $hour_pages\""
done
[ "$with_rows" -ge 2 ] || fail "the hourly rows were found on $with_rows pages"
pages=$(pdfinfo "$work/a.pdf" | sed -n 's/^Pages: *//p')
pdffonts "$work/a.pdf" | awk 'NR > 2 && $(NF-4) != "yes" { bad = 1 } END { exit bad }' || fail "a font is not embedded"
HOME="$work" timeout 240 libreoffice --headless --norestore "-env:UserInstallation=file://$work/profile" \
  --convert-to 'csv:Text - txt - csv (StarCalc):59,34,76,1,,1033,false,true,false,false,false' --outdir "$work/lo" \
  "$work/a.xlsx" > "$work/lo.log" 2>&1 || fail "LibreOffice could not convert the workbook: $(cat "$work/lo.log")"

"$python" - "$work" "$pages" <<'PY' || exit 1
import csv, glob, re, sys
work, pages = sys.argv[1], int(sys.argv[2])
def fail(text):
    print(text); sys.exit(1)

rows = list(csv.reader(open(f"{work}/s.csv", encoding="utf-8-sig"), delimiter=";"))
head, body, total = rows[0], rows[1:-1], rows[-1]
if len(body) != 30 or total[0] != "Итого":
    fail(f"the CSV has {len(body)} rows and ends with {total[0]!r}")
if head[:3] != ["Дата", "Q, Гкал", "M1, т"] or head[-1] != "НС":
    fail(f"unexpected heads {head}")
columns = {name.split(",")[0]: i for i, name in enumerate(head)}
for name in ("Q", "M1", "M2", "V1", "ВНР", "ВОС"):
    i = columns[name]
    digits = 2 if name in ("ВНР", "ВОС") else 3
    summed = sum(float(row[i]) for row in body)
    if abs(summed - float(total[i])) > 0.5 * 10 ** -digits * len(body):
        fail(f"{name}: rows add up to {summed}, the total line says {total[i]}")
marks = " ".join(row[-1] for row in body)
if "пит" not in marks or not re.search(r"Vmin|Vmax|dt", marks):
    fail(f"the demo month shows no НС marks: {marks!r}")

text = open(f"{work}/a.txt", encoding="utf-8").read()
for words in ("Ведомость учета параметров теплопотребления", "суточная", "Представитель потребителя",
              "Представитель теплоснабжающей организации", "Дата составления: 06.12.2025", f"Страница {pages} из {pages}"):
    if words not in text:
        fail(f"the PDF lacks {words!r}")
for name, i in (("Q, Гкал", columns["Q"]), ("M1, т", columns["M1"]), ("V1, м³", columns["V1"])):
    line = re.search(rf"^{re.escape(name)}\s+([\d,]+)\s+([\d,]+)\s+([\d,]+)\s+([\d,]+)\s*$", text, re.M)
    if not line:
        fail(f"no integrator line {name} in the PDF")
    start, end, difference, by_rows = (float(v.replace(",", ".")) for v in line.groups())
    if abs((end - start) - difference) > 0.0015 or abs(difference - float(total[i])) > 0.0015:
        fail(f"{name}: integrators {start} .. {end} against the rows' {total[i]}")
for row in body:
    shown = " ".join([row[0]] + [v.replace(".", ",") for v in row[1:3]])
    if not re.search(r"\s+".join(map(re.escape, shown.split())), text):
        fail(f"the PDF lacks the row {shown}")

sheet = list(csv.reader(open(glob.glob(f"{work}/lo/*.csv")[0], encoding="utf-8"), delimiter=";"))
start = next(i for i, r in enumerate(sheet) if r and r[0] == "Дата")
for mine, theirs in zip(body, sheet[start + 1:start + 31]):
    if not re.fullmatch(r"\d\d/\d\d/2026", theirs[0]) or theirs[0][3:5] + "." + theirs[0][:2] != mine[0][:5]:
        fail(f"the workbook's date {theirs[0]!r} is no date of {mine[0]}")
    for a, b in zip(mine[1:-1], theirs[1:-1]):
        if abs(float(a) - float(b)) > 0.0051:
            fail(f"the workbook holds {b} where the CSV has {a}")
PY

# Two days out of the database: the database alone, by the meter's number, marks them.
"$python" - "$work/Data.sqlite" <<'PY'
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
db.execute("DELETE FROM ZT5_Arch_Values_Day WHERE Date LIKE '2026-11-05%' OR Date LIKE '2026-11-06%'")
db.commit()
PY
serial=$(sed -n 's/.*зав\.N \([0-9]*\).*/\1/p' "$work/a.txt" | head -1)
"$zt5ctl" "${statement[@]}" --serial "$serial" --decimal-separator point -o "$work/gap.csv" 2> "$work/gap.err"
code=$?
[ "$code" -eq 1 ] || fail "a statement with missing rows exited $code"
grep -q "05.11.2026, 06.11.2026" "$work/gap.err" || fail "stderr does not name the missing days: $(cat "$work/gap.err")"
grep -q "^05.11.2026;.*нет данных" "$work/gap.csv" || fail "the missing day is no row \"нет данных\""
grep -q "^05.11.2026;0" "$work/gap.csv" && fail "the missing day shows zeros"
grep -q "^Итого;" "$work/gap.csv" || fail "the statement with a gap has no total line"
echo "statement checks passed"
