#!/bin/sh
# photograph_all.sh GALLERY FOLDER: a photograph of every box and window window_gallery
# shows, each on a fresh display, as FOLDER/KIND.png (needs ImageMagick's import).
set -eu
gallery=$1
folder=$2
here=$(dirname "$0")
mkdir -p "$folder"
for kind in info error question yes-no-cancel ask-again text-area entry timed preview \
            preview-long backup-manager progress about toolkit main-window main-window-advanced \
            main-window-program main-window-program-normal main-window-website \
            main-window-folder-menu main-window-abbreviation-menu main-window-folder-editor \
            main-window-100000; do
  "$here/../../../scripts/with-x.sh" "$gallery" "$kind" "$folder/$kind.png" >/dev/null 2>&1 ||
    echo "photograph_all.sh: $kind failed" >&2
done
