#!/usr/bin/env bash
# Installs what is missing, builds an optimised game and starts it from its run folder, build/game.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh
vantor_install_packages

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DVANTOR_BUILD_TESTS=OFF > /dev/null
cmake --build build -j "$(vantor_jobs)"

cd build/game
exec ./vantor "$@"
