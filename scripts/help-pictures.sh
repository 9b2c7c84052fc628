#!/usr/bin/env bash
# Makes the help document's pictures anew from the running program (under Xvfb and
# openbox, on the sample library): each is the 860 x 536 main window with what the
# keys typed into it opened.
#   scripts/help-pictures.sh [OUTFOLDER]     default: data/help/images
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-data/help/images}")
mkdir -p "$out"
settings=$(mktemp)
trap 'rm -f "$settings"' EXIT
printf '[Settings]\nMainLeft=0\nMainTop=0\nMainWidth=12900\nMainHeight=7710\n' > "$settings"

# The tree to 唐 and 李白 by typing (the views search as one types), the list to 将进酒.
to_poem="Down Down Down Right U674E U767D Tab U5C06"
picture() {
  local name=$1 keys=$2 typed=${3:-}
  QELVANE_SETTINGS=$settings SCREENSHOT_WM=openbox SCREENSHOT_KEYS="$keys" SCREENSHOT_TYPE="$typed" \
    scripts/screenshot.sh "$out/$name.png" > /dev/null
  convert "$out/$name.png" -crop 860x536+0+0 +repage "$out/$name.png"
  echo "help picture: $out/$name.png"
}
picture reading "$to_poem"
picture look-paper "$to_poem alt+v c alt+v p"
picture look-night "$to_poem alt+v n"
picture vertical "$to_poem alt+v s"
# 杜荀鹤's 春宫怨, a 五律 with two faults, in the 格律 view, a little larger.
picture metre "Down Down Down Right U675C U8340 Tab ctrl+m ctrl+equal ctrl+equal alt+v c"
picture pinyin "Down Down Down Right U675C U8340 Tab ctrl+m ctrl+equal ctrl+equal alt+v c alt+v j"
picture same-metre "Down Down Down Right U675C U8340 Tab ctrl+equal alt+v j ctrl+shift+m"
picture editor "$to_poem ctrl+e pause"
picture search "ctrl+f pause U6708 Return pause"
picture find "ctrl+l" "明月"
picture format "alt+t Return pause U4E03 U8A00 U5F8B U8BD7 Return"
picture options "alt+t o pause"
picture cleaner "$to_poem ctrl+d pause Return pause alt+g Down Return pause"
