#!/usr/bin/env bash
# Lays out a program folder for a visible run: database (created only when
# missing), background picture, help pages and an empty backup folder.
set -euo pipefail
build=$1
dir=$2
root="$(cd "$(dirname "$0")/.." && pwd)"

mkdir -p "$dir/database" "$dir/backup" "$dir/image"
[ -f "$dir/database/database.db" ] || "$build/bin/merrow-db" create "$dir/database/database.db"
[ -f "$dir/image/001.jpg" ] || cp "$root/resources/image/001.jpg" "$dir/image/001.jpg"
if [ -d "$root/resources/help" ]; then
    cp -r "$root/resources/help/." "$dir/"
fi
