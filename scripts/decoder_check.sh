#!/usr/bin/env bash
# Decodes a rich small (--optimize) export with the decoders users have and checks that every one
# shows the same frames as giflib does, and the same as the full stream: Pillow, ImageMagick
# (-coalesce) and gifsicle (--no-ignore-errors, no warnings). Runs on the build of scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${ANIMARK_BUILD_DIR:-build}
cli="$build/src/cli/animark-cli"
frames="$build/tests/tools/animark-gif-frames"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

export_gif() {
  "$cli" export -q --force --data-dir data/sample --range 200 --map 200=data/sample/map200.bmp \
    --rings 200=4 --label-rings --crosshairs --persistence 30 --rate 5 --pause 20 \
    --from "2026-07-14 22:30" --to "2026-07-15 00:30" --comments "decoder check" \
    --iterations 2 "$@"
}
export_gif -o "$work/full.gif"
export_gif --optimize -o "$work/small.gif"

"$frames" "$work/full.gif" "$work/full.rgb"
"$frames" "$work/small.gif" "$work/giflib.rgb"
/usr/bin/python3 - "$work/small.gif" "$work/pillow.rgb" <<'PY'
import sys
from PIL import Image, ImageSequence
with Image.open(sys.argv[1]) as gif, open(sys.argv[2], "wb") as out:
    for frame in ImageSequence.Iterator(gif):
        out.write(frame.convert("RGB").tobytes())
PY
convert "$work/small.gif" -coalesce rgb:"$work/imagemagick.rgb"
gifsicle --no-ignore-errors --unoptimize "$work/small.gif" -o "$work/unoptimized.gif" \
  2>"$work/gifsicle.txt"
if [ -s "$work/gifsicle.txt" ]; then
  echo "gifsicle warned:" >&2
  cat "$work/gifsicle.txt" >&2
  exit 1
fi
"$frames" "$work/unoptimized.gif" "$work/gifsicle.rgb"

status=0
for decoder in giflib pillow imagemagick gifsicle; do
  if cmp -s "$work/full.rgb" "$work/$decoder.rgb"; then
    echo "$decoder: the same $(($(stat -c %s "$work/full.rgb") / 921600)) frames as the full stream"
  else
    echo "$decoder: frames differ from the full stream" >&2
    status=1
  fi
done
echo "sizes: full $(stat -c %s "$work/full.gif") bytes, optimized $(stat -c %s "$work/small.gif") bytes"
exit $status
