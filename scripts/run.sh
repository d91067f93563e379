#!/usr/bin/env bash
# The saver's main job: installs what is missing, builds, and shows the rosette.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/deps.sh
cmake --preset native >/dev/null
cmake --build --preset native >/dev/null
echo "built build/native; the rosette renderer comes next"
