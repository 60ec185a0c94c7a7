#!/usr/bin/env bash
# The command line as users run it, one case per call: cli_checks.sh CLI RESOURCES CASE.
# Exits 0 when the case holds, 77 when it cannot run here, 1 otherwise.
set -u
cli=$1 resources=$2 case=$3
sample=$resources/samples/sample.pdf
presets=$resources/DefaultPreset.plist
work=$(mktemp -d)
trap 'cd /; umount "$work/disk" 2>/dev/null; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
cd "$work"

fail() { echo "FAILED: $*" >&2; exit 1; }
# Runs the CLI and checks its exact exit status.
expect_status() {
  local want=$1; shift
  "$cli" "$@" >"$work/stdout" 2>"$work/stderr"
  local got=$?
  [ "$got" -eq "$want" ] || { cat "$work/stderr" >&2; fail "exit $got, not $want: $*"; }
}
no_staged_files() { ! find "$work" -name '.qs-*' | grep -q . || fail "staged file left: $(find "$work" -name '.qs-*')"; }
draft=(--preset-file "$presets" --name Draft)

case $case in
two_writers)
  # Two loops of imports into one library at once: every import is kept,
  # every index is unique.
  "$cli" presets export Draft draft.plist >/dev/null || fail "export"
  before=$("$cli" presets list | wc -l)
  for loop in a b; do
    (for i in $(seq 1 15); do
       "$cli" presets import draft.plist --as "$loop$i" >/dev/null || echo "import $loop$i failed" >> failures
     done) &
  done
  wait
  [ ! -e failures ] || fail "$(cat failures)"
  after=$("$cli" presets list | wc -l)
  [ "$after" -eq $((before + 30)) ] || fail "$before presets, then $after instead of $((before + 30))"
  library=$(ls "$XDG_CONFIG_HOME"/quillsheet/*-PresetPref.plist)
  indexes=$(grep -A1 '<key>WaterMarkPresetIndex</key>' "$library" | grep -o '<integer>[0-9]*' | sort | uniq -d)
  [ -z "$indexes" ] || fail "indexes shared: $indexes"
  ;;
full_disk)
  # A real full disk: a 2 MiB file system (needs root).
  mkdir disk && mount -t tmpfs -o size=2m tmpfs disk 2>/dev/null || exit 77
  big=$work/big.pdf
  mkdir pages; for i in $(seq 1 40); do cp "$sample" "pages/p$i.pdf"; done
  qpdf --empty --pages pages/*.pdf -- "$big"
  printf 'a good file' > disk/kept.pdf
  dd if=/dev/zero of=disk/filler bs=1k count=1900 status=none 2>/dev/null
  expect_status 1 convert "$big" -o disk/kept.pdf --replace "${draft[@]}"
  grep -q "cannot write disk/kept.pdf: No space left on device" stderr || fail "reason: $(cat stderr)"
  grep -q "0 output(s) made, 1 failed" stderr || fail "summary: $(cat stderr)"
  [ "$(cat disk/kept.pdf)" = "a good file" ] || fail "the existing file was damaged"
  mkdir disk/batch
  expect_status 1 convert "$big" "$sample" -o disk/batch "${draft[@]}"
  for made in disk/batch/*.pdf; do [ -e "$made" ] || continue; qpdf --check "$made" >/dev/null || fail "unreadable $made delivered"; done
  no_staged_files
  ;;
destinations)
  mkdir existing
  expect_status 0 convert "$sample" -o out/ "${draft[@]}"
  [ -s out/sample.pdf ] || [ -s out/Draft-sample.pdf ] || [ -n "$(ls out)" ] || fail "-o out/ made no file in out/"
  expect_status 1 convert "$sample" missing.pdf -o existing "${draft[@]}"
  [ -n "$(ls existing)" ] || fail "the good input was not converted into the existing folder"
  grep -q "1 output(s) made, 1 failed" stderr || fail "summary: $(cat stderr)"
  expect_status 0 convert "$sample" -o new/deeper/marked.pdf "${draft[@]}"
  [ -s new/deeper/marked.pdf ] || fail "missing parent folder was not created"
  ;;
replacing)
  cp "$sample" self.pdf; before=$(md5sum < self.pdf)
  expect_status 1 convert self.pdf -o self.pdf "${draft[@]}"
  expect_status 1 convert self.pdf -o self.pdf --replace "${draft[@]}"
  grep -q "would replace the input" stderr || fail "reason: $(cat stderr)"
  [ "$(md5sum < self.pdf)" = "$before" ] || fail "the input was overwritten"
  printf 'keep me' > taken.pdf
  expect_status 1 convert self.pdf -o taken.pdf "${draft[@]}"
  grep -q "exists; add --replace" stderr || fail "reason: $(cat stderr)"
  [ "$(cat taken.pdf)" = "keep me" ] || fail "replaced without --replace"
  expect_status 0 convert self.pdf -o taken.pdf --replace "${draft[@]}"
  mkdir folder && cp "$sample" folder/a.pdf
  expect_status 1 convert folder -o folder --replace --name-position none --no-folder-per-preset "${draft[@]}"
  [ "$(ls folder)" = "a.pdf" ] || fail "outputs written into the inputs' folder: $(ls folder)"
  ;;
library_as_preset)
  expect_status 1 convert "$sample" -o x.pdf --preset-file "$presets"
  grep -q "is a preset library; choose a preset with --name" stderr || fail "$(cat stderr)"
  expect_status 1 presets import "$presets"
  expect_status 0 presets import "$presets" --all
  [ "$("$cli" presets list | grep -c '^Draft')" -ge 2 ] || fail "--all did not import the library"
  ;;
no_page_matched)
  expect_status 0 convert "$sample" -o x.pdf --pages 5-9 "${draft[@]}"
  grep -q "no page of .*sample.pdf matched 5-9; copied without a mark" stderr || fail "$(cat stderr)"
  grep -q "1 warning" stderr || fail "summary: $(cat stderr)"
  ;;
passwords)
  printf '\0secret\n' > nul.txt
  expect_status 1 convert "$sample" -o x.pdf --encrypt-password-file nul.txt "${draft[@]}"
  grep -q "NUL" stderr || fail "$(cat stderr)"
  head -c 128 /dev/zero | tr '\0' p > long.txt
  expect_status 1 convert "$sample" -o x.pdf --encrypt-password-file long.txt "${draft[@]}"
  printf '\n' > empty.txt
  expect_status 1 convert "$sample" -o x.pdf --encrypt-password-file empty.txt "${draft[@]}"
  [ ! -e x.pdf ] || fail "an output was written"
  locked=$resources/../../shared/corpus/enc_aes256-r6_user-view_owner-master_lowres-print.pdf
  if [ -e "$locked" ]; then
    expect_status 1 convert "$locked" -o y.pdf --input-password nope "${draft[@]}" </dev/null
    grep -q "wrong password" stderr || fail "$(cat stderr)"
    grep -q "0 output(s) made, 1 failed" stderr || fail "summary: $(cat stderr)"
    # A locked input's copy is said to be open, or keeps the input's password.
    expect_status 0 convert "$locked" -o open.pdf --input-password view "${draft[@]}" </dev/null
    grep -q "was password-protected; its copy is not" stderr || fail "$(cat stderr)"
    expect_status 0 convert "$locked" -o kept.pdf --input-password view --keep-input-password \
      "${draft[@]}" </dev/null
    qpdf --requires-password kept.pdf; [ $? -eq 0 ] || fail "kept.pdf opens without a password"
    qpdf --password=view --check kept.pdf >/dev/null || fail "kept.pdf does not open with view"
  fi
  ;;
conventions)
  expect_status 0 convert --help
  grep -q -- "--jobs N" stdout || fail "convert --help"
  expect_status 0 help convert
  expect_status 0 --version
  grep -q "^quillsheet-cli [0-9]" stdout || fail "--version"
  expect_status 0 convert "$sample" -o x.pdf --preset-file="$presets" --name=Draft
  cp "$sample" ./-dash.pdf
  expect_status 0 convert -o y.pdf "${draft[@]}" -- -dash.pdf
  expect_status 2 convert "$sample" -o z.pdf --replace=yes
  ;;
signals)
  mkdir many; for i in $(seq 1 60); do cp "$sample" "many/d$i.pdf"; done
  "$cli" convert many -o out "${draft[@]}" --jobs 1 2>stderr & pid=$!
  for _ in $(seq 1 100); do [ -n "$(ls out 2>/dev/null)" ] && break; sleep 0.05; done
  kill -TERM $pid; wait $pid; status=$?
  [ $status -eq 143 ] || fail "SIGTERM exit $status"
  grep -q "output(s) made" stderr || fail "no summary after SIGTERM"
  no_staged_files
  # A closed output pipe does not stop the run.
  rm -rf out; ("$cli" convert many -o out "${draft[@]}" 2>&1; echo "status $?" > piped) | head -1 >/dev/null
  [ "$(find out -name "*.pdf" | wc -l)" -eq 60 ] || fail "the run stopped when its pipe closed"
  [ "$(cat piped)" = "status 0" ] || fail "$(cat piped)"
  ;;
visibility)
  # "markVisibility" 1: a mark for print only, 2: for the screen only. The
  # screen (poppler) and print (Ghostscript, -dPrinted) renders of page 1
  # show the mark only where asked; without the key nothing changes.
  screen() { pdftoppm -r 24 -gray -f 1 -l 1 "$1"; }
  printed() { gs -q -dNOPAUSE -dBATCH -dSAFER -dPrinted -sDEVICE=pgmraw -r24 -dFirstPage=1 -dLastPage=1 -sOutputFile=- "$1"; }
  for visibility in 1 2; do
    sed "s|<key>textString</key>|<key>markVisibility</key><integer>$visibility</integer><key>textString</key>|" \
      "$presets" > "library$visibility.plist"
    grep -q markVisibility "library$visibility.plist" || fail "could not make the preset"
    expect_status 0 convert "$sample" -o "v$visibility.pdf" --preset-file "library$visibility.plist" --name Draft
  done
  expect_status 0 convert "$sample" -o plain.pdf "${draft[@]}"
  [ "$(screen v1.pdf | md5sum)" = "$(screen "$sample" | md5sum)" ] || fail "print-only mark shows on screen"
  [ "$(printed v1.pdf | md5sum)" != "$(printed "$sample" | md5sum)" ] || fail "print-only mark does not print"
  [ "$(screen v2.pdf | md5sum)" != "$(screen "$sample" | md5sum)" ] || fail "screen-only mark does not show"
  [ "$(printed v2.pdf | md5sum)" = "$(printed "$sample" | md5sum)" ] || fail "screen-only mark prints"
  [ "$(printed plain.pdf | md5sum)" != "$(printed "$sample" | md5sum)" ] || fail "an ordinary mark does not print"
  qpdf --json v1.pdf | grep -q '"/Watermark"' || fail "no watermark annotation"
  ! qpdf --json plain.pdf | grep -q '"/Watermark"' || fail "an ordinary mark became an annotation"
  ;;
unmark)
  # unmark takes off what convert put on; converting again replaces the
  # mark unless --keep-marks; outputs keep the inputs' names in a folder.
  screen() { pdftoppm -r 24 -gray "$1" | md5sum; }
  expect_status 0 convert "$sample" -o marked.pdf "${draft[@]}"
  expect_status 0 unmark marked.pdf -o clean.pdf
  [ "$(screen clean.pdf)" = "$(screen "$sample")" ] || fail "unmark left a trace of the mark"
  expect_status 0 convert marked.pdf -o again.pdf "${draft[@]}"
  [ "$(screen again.pdf)" = "$(screen marked.pdf)" ] || fail "a second conversion stacked the mark"
  expect_status 0 convert marked.pdf -o stacked.pdf --keep-marks "${draft[@]}"
  [ "$(screen stacked.pdf)" != "$(screen marked.pdf)" ] || fail "--keep-marks did not stack"
  expect_status 0 unmark marked.pdf stacked.pdf -o clean/
  [ -e clean/marked.pdf ] && [ -e clean/stacked.pdf ] || fail "names: $(ls clean)"
  [ "$(screen clean/stacked.pdf)" = "$(screen "$sample")" ] || fail "stacked marks stayed"
  expect_status 0 unmark "$sample" -o nothing.pdf
  grep -q "no watermark placed by Quillsheet was found" stderr || fail "$(cat stderr)"
  expect_status 1 unmark marked.pdf -o clean.pdf
  expect_status 2 unmark marked.pdf -o x.pdf --preset Draft
  # A preview shows the page as converting reads it: without the old mark.
  expect_status 0 render marked.pdf -o marked.png
  expect_status 0 render "$sample" -o sample.png
  cmp -s marked.png sample.png || fail "the preview shows the mark that converting replaces"
  ;;
*) fail "no case $case" ;;
esac
exit 0
