#!/usr/bin/env bash
# The saver's main job: installs what is missing, builds, and renders a rosette.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/deps.sh
cmake --preset native >/dev/null
cmake --build --preset native -j2 >/dev/null
build/native/rosacle render --pattern 1 --petals 8 --size 512x382 --phases 1.5,2.5,3.5 -o build/rosette.png
echo "$root/build/rosette.png"
