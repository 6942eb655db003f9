#!/usr/bin/env bash
# The project's version, as the top CMakeLists.txt sets it once (for scripts
# that name files after it).
set -euo pipefail
sed -n 's/^project(Stampa VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../CMakeLists.txt"
