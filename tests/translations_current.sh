#!/usr/bin/env bash
# The catalogues under resources/translations hold every text the window
# shows: gathering the texts again changes nothing. If this fails, run
# `make translations` in the build folder and commit the catalogues.
set -euo pipefail
lupdate=$1
source_dir=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp "$source_dir"/resources/translations/*.ts "$scratch"/
"$source_dir/tools/gather-translations" "$lupdate" "$source_dir" "$scratch"
diff -ru "$source_dir/resources/translations" "$scratch"
