#!/usr/bin/env bash
# The catalogue scan's walk of a large tree next to find(1) on the same tree:
# 100,000 files in 1,000 folders, one file in ten not music. The walk is
# timed by --differenze, which reads the names and compares them with the
# stored catalogue; the scan that also reads every file for its data is
# bench/data.sh's. The memory is the whole scan's.
#   bash bench/catalogue.sh BUILD
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-build}" && pwd)"
source "$here/common.bash"

cli="$build/zondari/zondari-cli"
bench_work
tree="$work/musica"

# 10 artists of 100 albums each; an album holds 90 tracks and 10 other files.
for a in $(seq -w 0 9); do
  for b in $(seq -w 0 99); do
    d="$tree/Artista $a/Album $b"
    mkdir -p "$d"
    (cd "$d" && touch "Traccia "{00..89}.mp3 "copertina "{0..9}.jpg)
  done
done

files=$(find "$tree" -type f | wc -l)
"$cli" scan "$tree" --titolo Prova >/dev/null
catalogue="$ZONDARI_PROGRAM_FOLDER/$(ls "$ZONDARI_PROGRAM_FOLDER" | head -1)"
lines=$(wc -l <"$catalogue")

t_find=$(mean_time 20 "find '$tree' -type f")
t_scan=$(mean_time 20 "'$cli' scan '$tree' --differenze")
m_find=$(peak_mib find "$tree" -type f)
m_scan=$(peak_mib "$cli" scan "$tree" --titolo Prova --sovrascrivi)
ratio=$(echo "$t_scan / $t_find" | bc -l)

printf 'albero: %s file; catalogo: %s righe\n' "$files" "$lines"
printf '%-28s %10s %10s\n' "" "tempo (s)" "memoria (MiB)"
printf '%-28s %10s %10s\n' "find -type f" "$t_find" "$m_find"
printf '%-28s %10s %10s\n' "zondari-cli scan" "$t_scan" "$m_scan"
printf '(tempo: scan --differenze, la lettura dei nomi; memoria: scan con i dati)\n'
printf 'scan / find: %.2f (obiettivo: al massimo 2); memoria obiettivo: sotto 200 MiB\n' "$ratio"
awk -v r="$ratio" -v m="$m_scan" 'BEGIN { exit !(r <= 2 && m < 200) }'
