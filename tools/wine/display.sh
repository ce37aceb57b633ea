# Sourced by the Wine helpers. pf_ensure_display STATE_DIR keeps DISPLAY when it
# names a live display; otherwise it starts (or reuses) an Xvfb owned by STATE_DIR.
pf_display_alive() { xdpyinfo -display "$1" >/dev/null 2>&1; }

pf_ensure_display() {
  local state_dir=$1
  if [ -n "${DISPLAY:-}" ] && pf_display_alive "$DISPLAY"; then
    return 0
  fi
  mkdir -p "$state_dir"
  local file="$state_dir/xvfb.display"
  exec 8>"$file.lock"
  flock 8
  if [ -s "$file" ] && pf_display_alive ":$(cat "$file")"; then
    export DISPLAY=":$(cat "$file")"
  else
    local fifo; fifo=$(mktemp -u)
    mkfifo "$fifo"
    # 1280x1024 at 96 dpi: the screens are laid out in twips at 15 per pixel.
    setsid Xvfb -displayfd 7 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp 7>"$fifo" >/dev/null 2>&1 < /dev/null &
    local num; read -r num < "$fifo"
    rm -f "$fifo"
    echo "$num" > "$file"
    export DISPLAY=":$num"
  fi
  flock -u 8
  exec 8>&-
}
