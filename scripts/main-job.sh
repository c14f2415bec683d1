#!/usr/bin/env bash
# The suite's main job on the shipped sample data, from a clean clone on Debian 12:
#   1. installs the Debian packages that are missing (scripts/install-deps.sh),
#   2. builds Tessaro and the DOC report host (RelWithDebInfo, folder build/),
#   3. makes a print target from samples/references/CMYK_1485.ref with "Tessaro --batch"
#      into out/Vantrel (the application data folder of this run),
#   4. makes the DOC report of the passing sample job samples/DOC/Jobs/QuorvaneDOC_Pass.xml
#      with docreport into out/report,
#   5. checks the results with tiffinfo, ImageMagick and unzip and prints where they are.
# Running it again replaces the earlier results. VANTREL_BUILD_DIR and VANTREL_OUT_DIR
# choose other folders than build/ and out/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${VANTREL_BUILD_DIR:-$root/build}
out=${VANTREL_OUT_DIR:-$root/out}

./scripts/install-deps.sh

echo "== build (RelWithDebInfo, $build)"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target Tessaro docreport
build=$(cd "$build" && pwd)

tessaro=$build/Tessaro/Tessaro
docreport=$build/docreport/docreport
mkdir -p "$out"
out=$(cd "$out" && pwd)
appdata=$out/Vantrel
report_dir=$out/report

echo "== target: Tessaro --batch on samples/references/CMYK_1485.ref"
"$tessaro" --batch \
  --reference samples/references/CMYK_1485.ref \
  --instrument "Tintora Vestra 8mm" --paper A4 \
  --target-name CMYK_1485 --target-version 1.0 \
  --format tiff --dpi 300 --module chart \
  --out "$appdata" --overwrite

echo "== DOC report: docreport on samples/DOC/Jobs/QuorvaneDOC_Pass.xml"
job=samples/DOC/Jobs/QuorvaneDOC_Pass.xml
# The job names its measurement (OUTPUT_FILE, relative to the DOC folder); the report is
# written beside the measurement's base path, so the measurement is copied into out/.
measurement=$(sed -n 's/^OUTPUT_FILE \(.*\)\.cxf\r\{0,1\}$/\1/p' "$job" | head -n 1)
if [ -z "$measurement" ]; then
  echo "main-job: $job names no measurement" >&2
  exit 1
fi
rm -rf "$report_dir"
mkdir -p "$report_dir"
cp "samples/DOC/$measurement.cxf" "$report_dir/"
base=$report_dir/$(basename "$measurement")
if "$docreport" --help 2>&1 | grep -q -- '--html'; then
  "$docreport" --html "$job" "$base" samples/DOC
else
  "$docreport" "$job" "$base" samples/DOC
fi

echo "== checks"
targets=$appdata/Chart/Targets
status=0
check() { # description, command...
  local what=$1; shift
  if "$@" >/dev/null 2>&1; then
    echo "ok    $what"
  else
    echo "FAIL  $what" >&2
    status=1
  fi
}
pages=("$targets"/CMYK_1485_P*.tiff)
check "${#pages[@]} TIFF page(s) written" test -s "${pages[0]}"
for page in "${pages[@]}"; do
  check "tiffinfo reads $(basename "$page")" tiffinfo "$page"
  check "ImageMagick identifies $(basename "$page")" identify "$page"
done
identify -format '      %f: %wx%h px, %[colorspace], %z bit, %x x %y\n' "${pages[0]}" || status=1
check "unzip lists CMYK_1485.zip" unzip -l "$targets/CMYK_1485.zip"
check "the archive tests clean" unzip -tq "$targets/CMYK_1485.zip"
unzip -l "$targets/CMYK_1485.zip" | sed 's/^/      /'
check "the report passes" grep -q '<GlobalPassed>Passed</GlobalPassed>' "$base.xml"

# A look at page 1 without a TIFF viewer. Debian's ImageMagick is /usr/bin/convert.
convert_tool=/usr/bin/convert
[ -x "$convert_tool" ] || convert_tool=convert
preview=$out/CMYK_1485_P1.png
if "$convert_tool" "${pages[0]}" -colorspace sRGB -resize 1200x1200 "$preview" 2>/dev/null; then
  echo "ok    page 1 converted to PNG"
else
  echo "FAIL  page 1 could not be converted to PNG" >&2
  status=1
fi

echo
echo "Results:"
echo "  target pages, definition, archive: $targets/"
echo "  saved reference:                   $appdata/Chart/References/CMYK_1485.ref"
echo "  preview bitmap:                    $appdata/Chart/Previews/CMYK_1485.bmp"
echo "  page 1 as PNG:                     $preview"
echo "  DOC report:                        $base.xml"
[ -f "$base.html" ] && echo "  DOC report page:                   $base.html"
echo
echo "Start the window with: $tessaro"
exit $status
