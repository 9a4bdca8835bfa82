#!/usr/bin/env bash
# A spreadsheet program opens a saved settings report as a sheet: LibreOffice (Debian's libreoffice-calc)
# converts the .xls, which is Office HTML in windows-1251, headless to CSV, and the cells of the known
# configuration are where a user would see them.
# Without LibreOffice the test is skipped (exit 77), unless ZT5_REQUIRE_READERS is set.
set -u
tool="$1"
if ! command -v libreoffice >/dev/null; then
  # scripts/test-all.sh installs it and sets ZT5_REQUIRE_READERS, so that a run there cannot pass by skipping.
  [ -n "${ZT5_REQUIRE_READERS:-}" ] && { echo "libreoffice is not installed"; exit 1; }
  echo "libreoffice is not installed: skipped"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$tool" "$work/отчет.xls.xls" || { echo "the sample report was not written"; exit 1; }
[ -s "$work/отчет.xls" ] || { echo "the save-name rule did not give отчет.xls"; ls -l "$work"; exit 1; }

# A profile of its own, so that no running office and no user settings interfere.
started=$(date +%s%N)
HOME="$work" timeout 240 libreoffice --headless --norestore "-env:UserInstallation=file://$work/profile" \
  --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76' --outdir "$work/out" "$work/отчет.xls" >"$work/lo.log" 2>&1
status=$?
echo "conversion took $(( ($(date +%s%N) - started) / 1000000 )) ms (exit $status)"
csv="$work/out/отчет.csv"
[ -s "$csv" ] || { echo "LibreOffice wrote no CSV"; cat "$work/lo.log"; exit 1; }

expect_row() {  # the whole CSV row, as LibreOffice lays the cells out
  grep -qxF -- "$1" "$csv" || { echo "row not found: $1"; cat "$csv"; exit 1; }
}
expect_row "Контрольная сумма настроек                       КСН=E1D7,,,,,,"
expect_row "Идентификация,Сетевой адрес:,,,17,,"
expect_row ",Код организации:,,,ТЭЦ-2 <A>,,"
expect_row "Pдог(кгс/см2),6.11832,6.11832,6.11832,,,"
expect_row "Датчик P,Есть,Нет,Нет,Нет,Нет,Нет"
echo "LibreOffice opened the saved report as a sheet"
