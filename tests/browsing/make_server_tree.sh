#!/bin/sh
# make_server_tree.sh ROOT OWNER: the folder tree the browsing tests list on a server. Sizes,
# dates and permissions differ from entry to entry; one name is Shift-JIS (vsftpd hands such
# names over byte for byte).
set -e
cd "$1"
mkdir -p docs empty pub/linux/kernel
printf 'hello\r\n' > a.txt
head -c 3000 /dev/zero > data.bin
head -c 1500 /dev/zero > photo.jpg
printf 'x' > 'with space.txt'
printf '12345678' > pub/readme.txt
printf 'q' > 'pub/what?.txt'; printf 'c' > 'pub/a:b.txt'  # names Windows refuses
printf 'k' > pub/linux/kernel/config.txt
printf 'sjis' > "$(printf '\225\134\216\246').txt"
ln -sfn pub link
ln -sfn a.txt textlink
chmod 644 a.txt; chmod 600 data.bin; chmod 664 photo.jpg; chmod 666 'with space.txt'
chmod 755 docs; chmod 700 empty; chmod 775 pub
while read -r date name; do touch -h -d "$date" "$name"; done <<'DATES'
2001-03-01 docs
2002-03-01 empty
2003-03-01 link
2001-06-01 textlink
2005-01-01 a.txt
2003-06-01 data.bin
2002-06-01 photo.jpg
2006-01-01 with space.txt
2004-03-01 pub
DATES
chown -R -h "$2" "$1"
