#!/bin/sh
# Prepares what the unlha32.dll Wine test reads: a small tree of files and archives of it made
# by Debian's jlha (level 2 with -lh5-, level 0 with -lh7-).
set -e
out=$1
rm -rf "$out"
mkdir -p "$out/tree/docs/deep" "$out/tree/hollow"
cd "$out"
seq 1 4000 | sed 's/$/ lines of text for the archive test/' > tree/docs/manual.txt
seq 1 300 | sed 's/^/notes /' > tree/docs/deep/notes.txt
printf 'readme\r\n' > tree/readme.txt
head -c 5000 /dev/urandom > tree/noise.bin
find tree -exec touch -d @920801100 {} +
jlha a2o5q jlha5.lzh tree >/dev/null
jlha a0o7q jlha7.lzh tree >/dev/null
