#!/usr/bin/env bash
# zondari-cli info over 1,000 MP3 files in one call, next to mediainfo (one
# call) and ffprobe (one call per file, as it takes one input), and the floor:
# reading the first 64 KiB and the last 128 bytes of each file. Then the same
# over 1,000 files tagged with ID3v2 by mid3v2, each with a 500 KiB cover
# picture, against mediainfo and a floor that reads each file's tag and its
# first audio frame, with what TagLib adds per file. Then checks that the
# values agree with mediainfo for every kind of file.
#   bench/analysis.sh BUILD
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-build}" && pwd)"
source "$here/common.bash"
cli="$build/zondari/zondari-cli"
for tool in lame sox mediainfo ffprobe c++ bc mid3v2; do
  command -v "$tool" >/dev/null || { echo "analysis: $tool is missing (scripts/setup --bench)"; exit 1; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
kinds="$work/kinds"; files="$work/files"
mkdir -p "$kinds" "$files"

# The kinds: CBR, VBR, MPEG 2, MPEG 2.5, single-channel VBR, layer-less tags.
sox -q -n -r 44100 -c 2 -b 16 "$work/s.wav" synth 3.5 sine 440
sox -q -n -r 44100 -c 1 -b 16 "$work/m.wav" synth 3.5 sine 330
make_kind() { lame --quiet "${@:3}" "$work/$2.wav" "$kinds/$1.mp3"; }
make_kind cbr s -b 128 -m j
make_kind cbr-tag s -b 128 -m j --id3v1-only --tt Titolo --ta Autore --tg 17
make_kind vbr s -V 2 -m s
make_kind vbr-tag s -V 2 -m s --id3v1-only --tt Titolo
make_kind mpeg2 s --resample 22.05 -b 64 -m s
make_kind mpeg2-tag s --resample 22.05 -b 64 -m s --id3v1-only --tt Titolo
make_kind mpeg25 m --resample 8 -b 16 -m m
make_kind mpeg25-tag m --resample 8 -b 16 -m m --id3v1-only --tt Titolo
make_kind monovbr m -m m -V 2
make_kind monovbr-tag m -m m -V 2 --id3v1-only --tt Titolo
# 100 KiB of ID3v2 tag in front of the VBR file.
python3 - "$kinds/vbr.mp3" "$kinds/vbr-id3v2.mp3" <<'PY'
import sys
size = 100 * 1024
head = b"ID3\x03\x00\x00" + bytes([(size >> 21) & 127, (size >> 14) & 127, (size >> 7) & 127, size & 127])
open(sys.argv[2], "wb").write(head + b"\xff\xfb\x90\x64" * (size // 4) + open(sys.argv[1], "rb").read())
PY

i=0
while (( i < 1000 )); do
  for k in "$kinds"/*.mp3; do
    (( i < 1000 )) || break
    cp "$k" "$files/$(printf '%04d' "$i")-$(basename "$k")"
    i=$((i + 1))
  done
done

# The floor: the reads the analysis cannot do without.
cat > "$work/floor.cpp" <<'CPP'
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
int main(int argc, char** argv)
{
    std::vector<char> buf(65536 + 128);
    for (int i = 1; i < argc; ++i) {
        int fd = open(argv[i], O_RDONLY);
        if (fd < 0)
            return 1;
        struct stat st;
        fstat(fd, &st);
        if (pread(fd, buf.data(), 65536, 0) < 0 || pread(fd, buf.data() + 65536, 128, st.st_size - 128) < 0)
            return 1;
        close(fd);
    }
    return 0;
}
CPP
c++ -O2 -o "$work/floor" "$work/floor.cpp"

cd "$files"
t_cli=$(median_time 21 "$cli" info ./*.mp3)
t_mediainfo=$(median_time 3 mediainfo ./*.mp3)
# One run: ffprobe starts once per file and takes more than a minute.
t0=$(date +%s.%N)
for f in ./*.mp3; do ffprobe -v quiet -show_streams "$f" >/dev/null; done
t_ffprobe=$(echo "$(date +%s.%N) - $t0" | bc -l)
t_floor=$(median_time 21 "$work/floor" ./*.mp3)
mem=$(peak_mib "$cli" info ./*.mp3)

faster_peer=$(echo "if ($t_mediainfo < $t_ffprobe) $t_mediainfo else $t_ffprobe" | bc -l)
printf 'analysis: 1000 files\n'
printf '  zondari-cli info   %8.3f s  (peak %s MiB)\n' "$t_cli" "$mem"
printf '  mediainfo          %8.3f s\n' "$t_mediainfo"
printf '  ffprobe (per file) %8.3f s\n' "$t_ffprobe"
printf '  floor (64 KiB+128) %8.3f s\n' "$t_floor"
speedup=$(echo "$faster_peer / $t_cli" | bc -l)
over_floor=$(echo "$t_cli / $t_floor" | bc -l)
printf '  %.1fx faster than the faster peer (target >= 5x); %.2fx the floor (target <= 1.3x)\n' "$speedup" "$over_floor"
status=0
(( $(echo "$speedup >= 5" | bc -l) )) || { echo "  MISSED: speed against the peers"; status=1; }
(( $(echo "$over_floor <= 1.3" | bc -l) )) || { echo "  MISSED: speed against the floor"; status=1; }

# --- ID3v2 with a cover picture, as real files carry ---------------------
v2kinds="$work/v2kinds"; v2files="$work/v2files"; v2bare="$work/v2bare"
mkdir -p "$v2kinds" "$v2files" "$v2bare"
head -c 512000 /dev/urandom > "$work/cover.jpg"
for k in cbr vbr mpeg2; do
  cp "$kinds/$k.mp3" "$v2kinds/$k.mp3"
  mid3v2 -t "Titolo $k" -a "Autore" -A "Album" -y 2004 -T 3/12 -g Rock -c "Commento" \
    -p "$work/cover.jpg:Copertina:3:image/jpeg" "$v2kinds/$k.mp3"
done
i=0
while (( i < 1000 )); do
  for k in "$v2kinds"/*.mp3; do
    (( i < 1000 )) || break
    name="$(printf '%04d' "$i")-$(basename "$k")"
    cp "$k" "$v2files/$name"
    # The same bytes with a tag version TagLib is never handed (5): the
    # analysis alone, so the difference is what TagLib adds.
    cp "$k" "$v2bare/$name"
    printf '\x05' | dd of="$v2bare/$name" bs=1 seek=3 conv=notrunc status=none
    i=$((i + 1))
  done
done

# The floor: the tag's header, the tag, and the first audio frame after it.
cat > "$work/floor2.cpp" <<'CPP'
#include <fcntl.h>
#include <unistd.h>
#include <vector>
int main(int argc, char** argv)
{
    std::vector<char> buf(16 << 20);
    for (int i = 1; i < argc; ++i) {
        int fd = open(argv[i], O_RDONLY);
        if (fd < 0)
            return 1;
        unsigned char h[10];
        if (pread(fd, h, 10, 0) != 10)
            return 1;
        const long size = (h[6] << 21) | (h[7] << 14) | (h[8] << 7) | h[9];
        if (pread(fd, buf.data(), size, 10) < 0 || pread(fd, buf.data(), 1441, 10 + size) < 0)
            return 1;
        close(fd);
    }
    return 0;
}
CPP
c++ -O2 -o "$work/floor2" "$work/floor2.cpp"

cd "$v2files"
v2_cli=$(median_time 11 "$cli" info ./*.mp3)
v2_mediainfo=$(median_time 3 mediainfo ./*.mp3)
v2_floor=$(median_time 11 "$work/floor2" ./*.mp3)
v2_mem=$(peak_mib "$cli" info ./*.mp3)
cd "$v2bare"
v2_bare=$(median_time 11 "$cli" info ./*.mp3)
cd "$files"
v2_speedup=$(echo "$v2_mediainfo / $v2_cli" | bc -l)
v2_over_floor=$(echo "$v2_cli / $v2_floor" | bc -l)
v2_taglib_us=$(echo "($v2_cli - $v2_bare) * 1000" | bc -l)  # s per 1000 files = ms per file; x1000 = us
printf 'analysis: 1000 files with ID3v2 (mid3v2, 500 KiB cover)\n'
printf '  zondari-cli info   %8.3f s  (peak %s MiB)\n' "$v2_cli" "$v2_mem"
printf '  mediainfo          %8.3f s\n' "$v2_mediainfo"
printf '  floor (tag+frame)  %8.3f s\n' "$v2_floor"
printf '  without TagLib     %8.3f s  (TagLib adds %.0f us per file)\n' "$v2_bare" "$v2_taglib_us"
printf '  %.1fx faster than mediainfo (target >= 5x); %.2fx the floor (target <= 3x)\n' "$v2_speedup" "$v2_over_floor"
(( $(echo "$v2_speedup >= 5" | bc -l) )) || { echo "  MISSED: ID3v2 speed against mediainfo"; status=1; }
(( $(echo "$v2_over_floor <= 3" | bc -l) )) || { echo "  MISSED: ID3v2 speed against the floor"; status=1; }
ours=$("$cli" info "$v2kinds/vbr.mp3" | awk -F'\t' '{v[$1]=$2} END {print v["ID3v2 Titolo"] "|" v["ID3v2 Autore"] "|" v["ID3v2 Album"] "|" v["ID3v2 Traccia"] "|" v["ID3v2 Genere"]}')
theirs=$(mediainfo --Inform='General;%Title%|%Performer%|%Album%|%Track/Position%/%Track/Position_Total%|%Genre%' "$v2kinds/vbr.mp3")
if [[ $ours == "$theirs" ]]; then echo "  ID3v2 fields agree with mediainfo ($ours)"; else echo "  ID3v2 fields DIFFER: zondari $ours; mediainfo $theirs"; status=1; fi

# Agreement with mediainfo: bit rate, sampling rate, version, layer, mode,
# play time within 1 s.
for k in "$kinds"/*.mp3; do
  ours=$("$cli" info "$k" | awk -F'\t' '{v[$1]=$2} END {print v["Bitrate"] "|" v["Frequenza"] "|" v["Versione"] "|" v["Layer"] "|" v["Mode"] "|" v["Durata"]}')
  theirs=$(mediainfo --Inform='Audio;%BitRate%|%SamplingRate%|%Format_Version%|%Format_Profile%|%Format_Settings_Mode%|%Channel(s)%|%Duration%' "$k")
  verdict=$(awk -F'|' -v o="$ours" -v t="$theirs" 'BEGIN {
    split(o, a, "|"); split(t, b, "|");
    ver = b[3]; sub(/Version /, "", ver); if (ver == "2.5") ver = 25;
    lay = b[4]; sub(/Layer /, "", lay);
    mode = b[6] == 1 ? "single channel" : (b[5] == "Joint stereo" ? "joint stereo" : (b[5] == "Dual mono" ? "dual channel" : "stereo"));
    split(a[6], d, ":"); secs = d[1] * 60 + d[2];
    ok = (a[1] == sprintf("%.0f", b[1] / 1000)) && (a[2] == b[2]) && (a[3] == ver) && (a[4] == lay) && (a[5] == mode) \
         && (secs - b[7] / 1000 < 1) && (b[7] / 1000 - secs < 1);
    print ok ? "agrees" : "DIFFERS"
  }')
  printf '  %-16s %s  (zondari %s; mediainfo %s)\n' "$(basename "$k")" "$verdict" "$ours" "$theirs"
  [[ $verdict == agrees ]] || status=1
done
exit $status
