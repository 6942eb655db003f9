#!/usr/bin/env bash
# Copies the license texts of what Stampa's programs contain into FOLDER:
# ours, the notices naming each work, the Debian copyright files of the
# header-only libraries compiled in, and the printer database's CC BY 4.0.
# Used by the Windows zip and the Debian package alike.
set -euo pipefail
cd "$(dirname "$0")/.."
dest=${1:?usage: collect-licenses.sh FOLDER}
mkdir -p "$dest"
cp LICENSE "$dest/Stampa-LICENSE.txt"
cp packaging/THIRD-PARTY-NOTICES.txt "$dest/"
for package in libstb-dev nlohmann-json3-dev libcli11-dev libxxhash-dev; do
    cp "/usr/share/doc/$package/copyright" "$dest/$package.txt"
done
cp data/printer-db-LICENSE.md "$dest/printer-db-CC-BY-4.0.md"
