#!/bin/sh
# Fails when a committed image differs from what resources/images/make_images.py draws now,
# that is, when a drawing was changed without running the script (or an output edited by hand).
set -eu
images=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$out" && /usr/bin/python3 "$images/make_images.py")
status=0
for f in "$out"/*; do
  name=$(basename "$f")
  if ! cmp -s "$f" "$images/$name"; then
    echo "resources/images/$name is not what make_images.py draws; run the script and commit its output"
    status=1
  fi
done
exit $status
