#!/usr/bin/env bash
# Ten one-page documents to .doc, in one run: through the Word server (one LibreOffice for the
# whole batch) against ten one-shot `soffice --convert-to` calls of the same documents. Prints
# both times and the ratio.   bench/wordserver_bench.sh [BUILD]   (build/win64 by default)
#
# Both sides start from a LibreOffice profile marked as set up (as the server prepares its own;
# without the mark each one-shot call pays about eight seconds of first-start work), and the
# one-shot calls get a warm-up call first that is not counted.
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")/.."
build=$(cd "${1:-build/win64}" && pwd)
cmake --build "$build" --target wordserver_bench kestrova_word >/dev/null
tests/support/wine-exec.sh "$build" "$build/bin/KestrovaWord.exe" /regserver /progid Kestrova.WordServer ||
  [ $? -eq 3 ]

work=$(mktemp -d /tmp/kestrova-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/docs" "$work/server" "$work/oneshot"
/usr/bin/python3 - "$work/docs" <<'PY'
import sys
import docx
for n in range(1, 11):
    d = docx.Document()
    d.add_heading('Report %d' % n, 1)
    for p in range(6):
        d.add_paragraph(('Paragraph %d of report %d. ' % (p + 1, n)) * 8)
    d.save('%s/report%02d.docx' % (sys.argv[1], n))
PY
docs=("$work"/docs/*.docx)

soffice=/usr/lib/libreoffice/program/soffice
profile="-env:UserInstallation=file://$work/profile"
version=$(/usr/bin/python3 -c 'import re, sys
print(re.search(r"ooSetupVersion\"[^>]*>\s*<value>([^<]+)", open(sys.argv[1]).read()).group(1))' \
  /usr/lib/libreoffice/share/registry/main.xcd)
mkdir -p "$work/profile/user"
cat >"$work/profile/user/registrymodifications.xcu" <<XCU
<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry" xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Setup/Product"><prop oor:name="ooSetupLastVersion" oor:op="fuse"><value>$version</value></prop></item>
</oor:items>
XCU
"$soffice" --headless "$profile" --convert-to doc --outdir "$work/warmup" "${docs[0]}" >/dev/null 2>&1
start=$(date +%s.%N)
for d in "${docs[@]}"; do
  "$soffice" --headless "$profile" --convert-to doc --outdir "$work/oneshot" "$d" >/dev/null 2>&1
done
oneshot=$(/usr/bin/python3 -c "print($(date +%s.%N) - $start)")

windows_docs=()
for d in "${docs[@]}"; do windows_docs+=("Z:${d//\//\\}"); done
server=$(tests/support/wine-exec.sh "$build" "$build/bench/wordserver_bench.exe" Kestrova.WordServer \
  "Z:${work//\//\\}\\server" "${windows_docs[@]}" | tr -d '\r')

converted_server=$(ls "$work/server" | wc -l)
converted_oneshot=$(ls "$work/oneshot" | wc -l)
printf 'ten one-page .docx to .doc\n'
printf '  through the server (start, 10 x Open+SaveAs, Quit): %6.2f s  (%s files)\n' "$server" "$converted_server"
printf '  ten one-shot soffice --convert-to calls:             %6.2f s  (%s files)\n' "$oneshot" "$converted_oneshot"
printf '  the server is %.1fx faster\n' "$(/usr/bin/python3 -c "print($oneshot / $server)")"
