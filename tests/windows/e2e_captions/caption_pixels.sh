# Screenshot, pixel and caption-file helpers of the caption end-to-end
# scripts (sourced after e2e_common.sh, with $main the player's window id).

press() { timeout 10 xdotool windowfocus --sync "$main" key --clearmodifiers "$@"; }

# Screenshot $1 of the window's inside (the skin margins cut off).
shoot() {
  eval "$(xdotool getwindowgeometry --shell "$main")"
  import -window root -crop "$((WIDTH - 8))x$((HEIGHT - 8))+$((X + 4))+$((Y + 4))" +repage "$1"
}

# Pixels of colour $2 in $1, and their bounding box as W H X Y.
mask() { convert "$1" -fuzz 3% -fill black +opaque "$2" -fill white -opaque "$2" "${@:3}"; }
count() { mask "$1" "$2" -format '%[fx:int(mean*w*h+0.5)]' info:; }
box() { mask "$1" "$2" -trim -format '%w %h %X %Y' info:; }

# SubRip cues of text $1 every 2 s over the whole movie.
subrip() {
  local i
  for i in $(seq 0 11); do
    printf '%d\r\n00:00:%02d,000 --> 00:00:%02d,900\r\n%s\r\n\r\n' "$((i + 1))" "$((i * 2))" "$((i * 2 + 1))" "$1"
  done
}
