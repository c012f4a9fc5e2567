#!/bin/sh
# Draws the seven pictures of two sample models into docs/pictures with kradon-cli, at the
# default 1200 x 800 pixels. Run after tools/build.sh.
set -eu
cd "$(dirname "$0")/.."
mkdir -p docs/pictures
for model in simply-supported-point-load two-span-continuous-udl; do
    set --
    for kind in beam mesh bmd sfd dsd e i; do
        set -- "$@" --picture "$kind:docs/pictures/$model-$kind.png"
    done
    build/kradon-cli analyse "examples/$model.kdn" "$@" >/dev/null
done
echo "Pictures written to docs/pictures"
