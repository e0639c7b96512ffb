#!/usr/bin/env bash
# run_report_test.sh CLI DATA_DIR: the runner's report of two routed sample
# projects, read back with poppler-utils. What the text must hold comes from
# the runner's own listings of the same network (print class, channels,
# links, paths), so nothing here restates the figures.
set -u
cli=$1 data=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$data/HostInfo.hi" "$data/ChanInfo.ci" "$work/"
cp -r "$data/projects" "$work/samples"
cd "$work" || exit 1
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# The pages are numbered "страница N из M" with M the document's page count,
# each number once.
check_pages() {
  local pdf=$1 text=$2 pages footers
  pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
  footers=$(grep -o 'страница [0-9]* из [0-9]*' "$text")
  [ "$(echo "$footers" | wc -l)" = "$pages" ] || fail "$pdf: $pages pages, footers: $footers"
  for n in $(seq 1 "$pages"); do
    grep -qx "страница $n из $pages" <<<"$footers" || fail "$pdf: no footer for page $n of $pages"
  done
}

# No picture of pixels anywhere: the drawing is lines and text.
check_vector() {
  local images
  images=$(pdfimages -list "$1" | tail -n +3)
  [ -z "$images" ] || fail "$1 holds raster images: $images"
}

check_sample() {
  local name=$1 listing text
  printf 'new\nopen samples/%s\nroute\nprint class\nprint links\nprint channels\nprint paths\nreport %s.pdf\n' \
    "$name" "$name" >"$name.script"
  listing=$("$cli" "$name.script" 2>&1) || { fail "$name: runner failed: $listing"; return; }
  pdftotext -layout "$name.pdf" "$name.txt" || { fail "$name: pdftotext"; return; }
  text="$name.txt"
  grep -q "Отчёт о сети «samples/$name»" "$text" || fail "$name: no title"
  local class
  class=$(sed -n 's/^class [0-9] //p' <<<"$listing")
  grep -q "Связность: $class\." "$text" || fail "$name: no class «$class»"
  local channels=0 paths=0
  while read -r _ c a b type _; do
    local delay
    delay=$(awk -v c="$c" '$1 == "link" && $2 == c {print $6}' <<<"$listing")
    grep -Eq "^ *$c +$a-$b +$type +.* $delay *\$" "$text" ||
      fail "$name: no row for channel $c ($a-$b, type $type, delay $delay)"
    channels=$((channels + 1))
  done < <(grep '^channel ' <<<"$listing")
  while IFS='|' read -r p hosts delay; do
    p=${p// /} hosts=${hosts// /} delay=${delay// /}
    grep -Eq "^ *$p +$hosts +$delay +[0-9]+ *\$" "$text" || fail "$name: no row for path $p ($hosts, $delay)"
    paths=$((paths + 1))
  done < <(grep -E '^[0-9]+ \|' <<<"$listing")
  while read -r _ a b load; do
    grep -Eq "^ *$a +$b +$load *\$" "$text" || fail "$name: no unplaced demand $a-$b $load"
  done < <(grep '^unrouted ' <<<"$listing")
  [ "$channels" -gt 0 ] && [ "$paths" -gt 0 ] || fail "$name: the sample lists no channels or paths"
  check_pages "$name.pdf" "$text"
  check_vector "$name.pdf"
}

check_sample ring
check_sample mesh

# A folder in the report's place and a device are refused with the reason;
# the folder keeps what it holds.
mkdir taken.pdf && echo kept >taken.pdf/inside
printf 'new\nopen samples/ring\nreport taken.pdf\nreport /dev/full\nreport ring.png\n' >refused.script
out=$("$cli" refused.script 2>&1)
grep -q 'line 3: Отчёт не записан в файл «taken.pdf»: на этом месте каталог' <<<"$out" ||
  fail "folder: $out"
grep -q 'line 4: Отчёт не записан в файл «/dev/full»: это не обычный файл' <<<"$out" || fail "device: $out"
grep -q 'line 5: Отчёт не записан в файл «ring.png»: имя должно оканчиваться на .pdf' <<<"$out" ||
  fail "suffix: $out"
[ "$(cat taken.pdf/inside)" = kept ] || fail "the folder lost its file"

# A report that cannot be made (a channel type the table lacks stops the
# routing of its sections) leaves the old file as it was.
cp ring.pdf old.pdf && cp ring.pdf before.pdf
printf 'new\nopen samples/ring\nroute\nchantype 1 9\nreport old.pdf\n' >broken.script
out=$("$cli" broken.script 2>&1)
grep -q 'line 5: Канал 1 имеет тип 9' <<<"$out" || fail "broken network: $out"
cmp -s old.pdf before.pdf || fail "the old report changed"

exit $((failures > 0))
