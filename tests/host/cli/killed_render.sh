#!/bin/sh
# A render ended by SIGNAL leaves nothing in the temporary folder nor beside its output.
# Usage: killed_render.sh CHROMASIFT SIGNAL WORK_DIR
rm -rf "$3" && mkdir -p "$3/tmp" "$3/out" || exit 1
TMPDIR="$3/tmp" "$1" render --size 8000x8000 --threads 1 -o "$3/out/big.png" &
# The built-in picture's folder appears before the render starts.
tries=0
until [ -n "$(ls "$3/tmp")" ] || [ $((tries += 1)) -gt 600 ]; do sleep 0.05; done
kill -"$2" $!
wait $!
left=$(find "$3/tmp" "$3/out" -mindepth 1)
[ $tries -le 600 ] && [ -z "$left" ] && echo "nothing left behind" || echo "FAIL: left behind: $left"
