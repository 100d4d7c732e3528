#!/usr/bin/env bash
# Damaged and odd MP3 files through zondari-cli info, with its time and peak
# memory, next to what mediainfo and ffprobe say of the same files (bit rate,
# sampling rate, play time), and whether Zondari agrees.
#   bench/damaged.sh BUILD
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-build}" && pwd)"
source "$here/common.bash"
cli="$build/zondari/zondari-cli"
for tool in mediainfo ffprobe python3 /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "damaged: $tool is missing (scripts/setup --bench)"; exit 1; }
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

python3 - "$work" <<'PY'
import os, struct, sys
w = sys.argv[1]
def frame(h, n, body=b""):
    d = struct.pack(">I", h) + body
    return d + bytes(max(0, n - len(d)))
H, L = 0xFFFB9064, 417
frames = lambda n, h=H, l=L: frame(h, l) * n
def id3v2(size, flags=0):
    return b"ID3\x03\x00" + bytes([flags]) + bytes([(size >> s) & 127 for s in (21, 14, 7, 0)])
files = {
    "cbr": frames(2000),
    "xing-0-frames": frame(H, L, bytes(32) + b"Xing" + struct.pack(">II", 1, 0)) + frames(2000),
    "vbri-0-frames": frame(H, L, bytes(32) + b"VBRI" + bytes(10) + struct.pack(">I", 0)) + frames(2000),
    "free-format": b"".join(frame(0xFFFB0064 | (0x200 if i % 2 else 0), 522 + i % 2) for i in range(2000)),
    "id3v2-past-end": id3v2(0x0FFFFFFF) + frames(2000),
    "id3v2-unsync": id3v2(20, 0x80) + b"\xff\x00\xfb\x90" + bytes(16) + frames(2000),
    "reserved-rate": frames(2000, 0xFFFB9C64),
    "truncated-last": frames(2000) + frame(H, L)[:100],
    "tiny-129": (b"TAG" + frames(1))[:129],
}
for name, data in files.items():
    open(os.path.join(w, name + ".mp3"), "wb").write(data)
with open(os.path.join(w, "sparse-5g.mp3"), "wb") as f:
    f.write(frames(20))
    f.truncate(5 << 30)
with open(os.path.join(w, "id3v2-chain-200m.mp3"), "wb") as f:
    f.write(id3v2(0) * 20_000_000)
PY

printf '%-22s %-24s %-24s %-24s %s\n' file "zondari (kbps|Hz|m:ss)" "mediainfo" "ffprobe" "zondari time / peak"
for f in "$work"/*.mp3; do
  ours=$("$cli" info "$f" | awk -F'\t' '{v[$1]=$2} END {print v["Bitrate"] "|" v["Frequenza"] "|" v["Durata"]}')
  t=$( { /usr/bin/time -f '%e s / %M KiB' "$cli" info "$f" >/dev/null; } 2>&1 | tail -1)
  mi=$(timeout 20 mediainfo --Inform='Audio;%BitRate%|%SamplingRate%|%Duration%' "$f" 2>/dev/null || true)
  mi=$(awk -F'|' '{ if ($0 == "") print "-"; else printf "%s|%s|%d:%02d\n", ($1 == "" ? "" : sprintf("%.0f", $1 / 1000)), $2, int($3 / 60000), int($3 / 1000) % 60 }' <<<"$mi")
  ff=$(timeout 20 ffprobe -v quiet -select_streams a:0 -show_entries stream=bit_rate,sample_rate:format=duration -of csv=p=0 "$f" 2>/dev/null | tr '\n' ',' || true)
  ff=$(awk -F',' '{ if ($1 == "" || $1 == "N/A" || $1 == 0) print "-"; else printf "%s|%s|%d:%02d\n", ($2 ~ /^[0-9]+$/ ? sprintf("%.0f", $2 / 1000) : $2), $1, int($3 / 60), int($3) % 60 }' <<<"$ff")
  verdict=""
  [[ $mi != "-" ]] && { [[ $ours == "$mi" ]] && verdict+="agrees with mediainfo; " || verdict+="differs from mediainfo; "; }
  [[ $ff != "-" ]] && { [[ $ours == "$ff" ]] && verdict+="agrees with ffprobe" || verdict+="differs from ffprobe"; }
  printf '%-22s %-24s %-24s %-24s %s  %s\n' "$(basename "$f" .mp3)" "$ours" "$mi" "$ff" "$t" "$verdict"
done
