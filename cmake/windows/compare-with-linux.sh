#!/bin/sh
# Converts folders of songs with the Linux build and with the Windows build
# (under Wine) of tonalux-cli, in both formats and with the song start moved
# to the first note, and fails unless every output is equal byte for byte.
#   compare-with-linux.sh LINUX_TOOL WINDOWS_EXE FOLDER...
set -eu
linux=$(realpath "$1")
windows=$(realpath "$2")
shift 2
run_wine="$(dirname "$0")/wine-run.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
for folder in "$@"; do
  folder=$(realpath "$folder")
  songs=$(find "$folder" -maxdepth 1 -iname '*.mid' -type f | wc -l)
  for options in "--format 0" "--format 1" "--format 0 --start-at-first-note"; do
    rm -rf "$work/linux" "$work/windows"
    mkdir "$work/linux" "$work/windows"
    # Both builds exit 1 when a song is damaged; the outputs still count.
    "$linux" convert --quiet $options --in "$folder" --out "$work/linux" || true
    "$run_wine" "$windows" convert --quiet $options --in "Z:$folder" --out "Z:$work/windows" || true
    written=$(find "$work/linux" -type f | wc -l)
    if [ "$written" -eq 0 ]; then
      echo "NOTHING WRITTEN: $folder ($options)"
      failed=1
    elif diff -r "$work/linux" "$work/windows" >/dev/null; then
      echo "equal: $folder ($songs songs, $written outputs, $options)"
    else
      echo "DIFFERENT: $folder ($options):"
      diff -r "$work/linux" "$work/windows" | head -20
      failed=1
    fi
  done
done
exit $failed
