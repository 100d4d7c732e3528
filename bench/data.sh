#!/usr/bin/env bash
# A scan that records the files' data, next to what it adds to a scan of
# names: zondari-cli info over the same files. 10,000 MP3s of about 100 KB
# (copies of three lame-made files) in 100 folders, warm.
#   bash bench/data.sh BUILD [FILES]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-build}" && pwd)"
count="${2:-10000}"
source "$here/common.bash"

cli="$build/zondari/zondari-cli"
bench_work
tree="$work/musica"
mkdir -p "$tree"

sox -n -r 44100 -c 2 "$work/t.wav" synth 6 sine 440 2>/dev/null
lame --quiet -b 128 --tt Uno --ta Tizio "$work/t.wav" "$work/0.mp3"
lame --quiet -V 2 --tt Due "$work/t.wav" "$work/1.mp3"
lame --quiet -b 112 -m m --id3v1-only "$work/t.wav" "$work/2.mp3"
for i in $(seq 0 $((count - 1))); do
  d="$tree/Album $((i / 100))"
  [[ -d "$d" ]] || mkdir "$d"
  cp "$work/$((i % 3)).mp3" "$d/Traccia $i.mp3"
done
bytes=$(du -sb "$tree" | cut -f1)

"$cli" scan "$tree" --titolo Prova >/dev/null 2>&1
t_names=$(mean_time 10 "'$cli' scan '$tree' --differenze")
t_info=$(mean_time 10 "find '$tree' -name '*.mp3' -print0 | xargs -0 '$cli' info")
t_data=$(mean_time 10 "'$cli' scan '$tree' --titolo Prova --sovrascrivi")
t_cat=$(mean_time 10 "find '$tree' -name '*.mp3' -print0 | xargs -0 cat")
t_prints=$(mean_time 10 "'$cli' scan '$tree' --titolo Prova --sovrascrivi --impronte")
ratio=$(echo "$t_data / ($t_info + $t_names)" | bc -l)
speed=$(echo "$t_cat / $t_prints" | bc -l)

# Memory: 100,000 files, links to the same three.
big="$work/grande"
for a in $(seq 0 99); do
  mkdir -p "$big/$a"
  for t in $(seq 0 999); do ln "$work/$((t % 3)).mp3" "$big/$a/$t.mp3"; done
done
m_big=$(peak_mib "$cli" scan "$big" --titolo Grande --impronte)

printf 'cartella: %s MP3, %s byte\n' "$count" "$bytes"
printf '%-44s %10s\n' "" "tempo (s)"
printf '%-44s %10s\n' "zondari-cli scan --differenze (solo nomi)" "$t_names"
printf '%-44s %10s\n' "zondari-cli info su tutti i file" "$t_info"
printf '%-44s %10s\n' "zondari-cli scan (con i dati)" "$t_data"
printf '%-44s %10s\n' "cat di tutti i file" "$t_cat"
printf '%-44s %10s\n' "zondari-cli scan --impronte" "$t_prints"
printf 'scan con i dati / (info + solo nomi): %.2f (obiettivo: al massimo 1,3)\n' "$ratio"
printf 'velocità delle impronte / cat: %.2f (obiettivo: almeno 0,8)\n' "$speed"
printf 'memoria di scan --impronte su 100.000 file: %s MiB (obiettivo: sotto 64)\n' "$m_big"
awk -v r="$ratio" -v s="$speed" -v m="$m_big" 'BEGIN { exit !(r <= 1.3 && s >= 0.8 && m < 64) }'
