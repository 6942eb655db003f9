#!/usr/bin/env bash
# Checks that libpixmelt.so exports exactly `pixmelt` and CPixmelt's copy
# assignment, and needs nothing beyond the C and C++ runtime.
set -euo pipefail
lib="$1"
exports=$(nm -D --defined-only "$lib" | awk '{print $3}' | sort | tr '\n' ' ')
want="_ZN8CPixmeltaSERKS_ pixmelt "
if [ "$exports" != "$want" ]; then
    echo "exports: '$exports', expected '$want'"
    exit 1
fi
needed=$(readelf -d "$lib" | awk '/NEEDED/ {print $5}' | tr -d '[]' | sort | tr '\n' ' ')
for n in $needed; do
    case "$n" in
        libstdc++.so.*|libm.so.*|libgcc_s.so.*|libc.so.*|libasan.so.*|libubsan.so.*|libtsan.so.*) ;;
        *) echo "unexpected dependency: $n"; exit 1 ;;
    esac
done
echo "exports and dependencies as expected: $exports"
