#!/bin/sh
# Runs number_text_dump natively and as WebAssembly under node on the same
# inputs and fails unless both write the same bytes; prints the counts (kept
# in WORK_DIR/summary.txt). On a difference, shows the first differing line
# of each and keeps both files.
#
#   number_text_agreement.sh NATIVE_DUMP NODE WASM_DUMP CORPUS WORK_DIR
set -eu
native_dump=$1 node=$2 wasm_dump=$3 corpus=$4 dir=$5
mkdir -p "$dir"
native="$dir/native.txt" wasm="$dir/wasm.txt"
rm -f "$native" "$wasm"

"$native_dump" "$corpus" "$native" > "$dir/native-counts.txt"
"$node" "$wasm_dump" "$corpus" "$wasm" > "$dir/wasm-counts.txt"

if cmp -s "$native" "$wasm"; then
    { echo "native and WebAssembly agree byte for byte ($(wc -l < "$native") lines, $(wc -c < "$native") bytes):"
      cat "$dir/wasm-counts.txt"; } | tee "$dir/summary.txt"
    rm -f "$native" "$wasm"
    exit 0
fi
line=$(cmp "$native" "$wasm" | sed -n 's/.* line \([0-9]*\)$/\1/p')
echo "native and WebAssembly differ, first at line ${line:-?} (files kept in $dir):"
if [ -n "$line" ]; then
    printf 'native: %s\n' "$(sed -n "${line}p" "$native")"
    printf 'wasm:   %s\n' "$(sed -n "${line}p" "$wasm")"
fi
exit 1
