#!/bin/sh
# make_server_tree.sh ROOT OWNER [sjis]: the folder tree the browsing tests list on a
# server. Sizes, dates and permissions differ from entry to entry so that every sort
# order is known. With "sjis", a file with a Shift-JIS name is added (only vsftpd
# hands such names over byte for byte).
set -e
root=$1
owner=$2
cd "$root"
mkdir -p docs empty pub/linux/kernel
printf 'hello\r\n' > a.txt
head -c 3000 /dev/zero > data.bin
head -c 1500 /dev/zero > photo.jpg
printf 'x' > 'with space.txt'
printf '12345678' > pub/readme.txt
printf 'k' > pub/linux/kernel/config.txt
ln -sfn pub link
ln -sfn a.txt textlink
if [ "${3:-}" = sjis ]; then printf 'sjis' > "$(printf '\225\134\216\246').txt"; fi
chmod 644 a.txt; chmod 600 data.bin; chmod 664 photo.jpg; chmod 666 'with space.txt'
chmod 755 docs; chmod 700 empty; chmod 775 pub
touch -d '2001-03-01 00:00' docs
touch -d '2002-03-01 00:00' empty
touch -h -d '2003-03-01 00:00' link
touch -h -d '2001-06-01 00:00' textlink
touch -d '2005-01-01 00:00' a.txt
touch -d '2003-06-01 00:00' data.bin
touch -d '2002-06-01 00:00' photo.jpg
touch -d '2006-01-01 00:00' 'with space.txt'
touch -d '2004-03-01 00:00' pub
chown -R -h "$owner" "$root"
