#!/usr/bin/env bash
# Rebuilds the pictures in assets/ from the program's own output:
#   - assets/Graphics/cal*.bmp, the style samples of the main window: the
#     first page of each calendar style, rendered with mutool at the size the
#     window shows it, as 24-bit BMP files;
#   - assets/kalvara.png, the 256 x 256 program icon, from assets/kalvara.svg.
# Needs cmake, ninja, mutool (mupdf-tools) and python3; scripts/deps.sh
# installs them. Safe to run again; the pictures are replaced.
#
# Usage: scripts/make-assets.sh [YEAR]    (default 2017, a 53-week year)
set -euo pipefail
cd "$(dirname "$0")/.."

year=${1:-2017}
build_dir=${KALVARA_BUILD_DIR:-build}
graphics=assets/Graphics

if [[ ! -f "$build_dir/build.ninja" && ! -f "$build_dir/Makefile" ]]; then
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build_dir" --target kalvara-cli >/dev/null
cli="$build_dir/src/cli/kalvara-cli"

# mutool without colour management says so on every call; nothing else is
# kept from its error output.
render() {
    mutool draw -q "$@" 2> >(grep -v "ICC support" >&2)
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$graphics"

# Picture file, style, width and height in pixels. The main window asks for
# the resource "$CALMONTH" and so on; the program maps each to the file of
# the same name in lower case. calyear.bmp is also the window's first picture.
samples=(
    "calmonth    month    226 172"
    "calquarter  quarter  150 172"
    "calyear     year     152 172"
    "calthreeyr  3years   138 172"
    "calstrip    strips   226 137"
    "calplanner  planning 149 172"
)

failed=0
for sample in "${samples[@]}"; do
    read -r name style width height <<<"$sample"
    pdf="$work/$name.pdf"
    period=()
    if [[ $style == month || $style == quarter ]]; then
        period=(--period 1)
    fi
    if ! "$cli" --home "$work/home" generate --style "$style" --year "$year" "${period[@]}" \
        -o "$pdf" >/dev/null; then
        echo "make-assets: no $style calendar; $graphics/$name.bmp left as it was" >&2
        failed=1
        continue
    fi
    # Fit the page into the picture keeping its proportions; the script below
    # centres it on a grey backdrop of exactly the size asked for.
    render -F pnm -c rgb -w "$width" -h "$height" -o "$work/$name.ppm" "$pdf" 1
    python3 - "$work/$name.ppm" "$graphics/$name.bmp" "$width" "$height" <<'PY'
import os
import struct
import sys

source, target, width, height = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])

def read_ppm(path):
    data = open(path, "rb").read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b"P6" or int(fields[3]) != 255:
        sys.exit(f"{path}: not an 8-bit binary PPM")
    w, h = int(fields[1]), int(fields[2])
    pixels = data[pos + 1:pos + 1 + w * h * 3]
    if len(pixels) != w * h * 3:
        sys.exit(f"{path}: truncated")
    return w, h, pixels

page_w, page_h, page = read_ppm(source)
if page_w > width or page_h > height:
    sys.exit(f"{source}: {page_w}x{page_h} does not fit {width}x{height}")

backdrop = (0xD8, 0xD8, 0xD8)
edge = (0x80, 0x80, 0x80)
canvas = [[backdrop] * width for _ in range(height)]
left, top = (width - page_w) // 2, (height - page_h) // 2
for y in range(page_h):
    row = canvas[top + y]
    base = y * page_w * 3
    for x in range(page_w):
        row[left + x] = tuple(page[base + 3 * x:base + 3 * x + 3])
# A thin grey outline, so that the white page stands out from a white window.
for x in range(left, left + page_w):
    canvas[top][x] = canvas[top + page_h - 1][x] = edge
for y in range(top, top + page_h):
    canvas[y][left] = canvas[y][left + page_w - 1] = edge

# 24-bit BMP: rows bottom-up, blue-green-red, each row padded to 4 bytes.
stride = (width * 3 + 3) & ~3
body = bytearray()
for row in reversed(canvas):
    line = bytearray()
    for r, g, b in row:
        line += bytes((b, g, r))
    line += b"\0" * (stride - len(line))
    body += line
header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(body), 0, 0, 14 + 40)
info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
with open(target + ".tmp", "wb") as out:
    out.write(header + info + body)
os.replace(target + ".tmp", target)
PY
    echo "$graphics/$name.bmp  ${width}x${height}  ($style $year)"
done

render -c rgba -w 256 -h 256 -o assets/kalvara.png assets/kalvara.svg
echo "assets/kalvara.png  256x256"
exit "$failed"
