# Shared by the walkthrough scripts: starts the editor on a virtual display with a settings file of
# its own, and photographs the steps. Source it, set `out` first, then call start_editor.
#   start_editor [SAMPLE_ROOT]   sets $window (the main window) and $display (WLOE_DISPLAY chooses it)
#   shot NAME [DELAY]            photographs the screen as $out/NN-NAME.png
#   menu_dialog MENU ITEM NAME   opens a dialog through a menu's mnemonics, photographs it, closes it
#   click X Y                    a left click at screen coordinates
program=${program:-build/wloe}
mkdir -p "$out"
rm -f "$out"/*.png

start_editor() {
    display=${WLOE_DISPLAY:-:$((90 + RANDOM % 100))}
    scratch=$(mktemp -d)
    mkdir -p "$scratch/config/wloe" "$scratch/runtime"
    chmod 700 "$scratch/runtime"
    [ -n "${1:-}" ] && printf '[General]\nSamplePathRoot=%s\n' "$1" >"$scratch/config/wloe/wloe.ini"
    Xvfb "$display" -screen 0 1280x800x24 >/dev/null 2>&1 &
    xvfb=$!
    editor=
    trap '[ -n "$editor" ] && kill $editor 2>/dev/null; kill $xvfb 2>/dev/null || true; rm -rf "$scratch"' EXIT
    sleep 1
    export DISPLAY=$display
    XDG_RUNTIME_DIR=$scratch/runtime XDG_CONFIG_HOME=$scratch/config "$program" -Embedding >/dev/null 2>&1 &
    editor=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --name "Wavelith Object Editor" | head -1)
    # No window manager: fill the screen by hand.
    xdotool windowmove --sync "$window" 0 0 windowsize --sync "$window" 1280 800 windowfocus --sync "$window"
    sleep 0.5
}

step=0
shot() {
    sleep "${2:-1}"
    step=$((step + 1))
    import -window root "$(printf '%s/%02d-%s.png' "$out" "$step" "$1")"
}

menu_dialog() {
    # Without a window manager nobody gives the focus back when a dialog closes.
    xdotool windowfocus --sync "$window"
    xdotool key "alt+$1"
    sleep 0.8
    xdotool key "$2"
    shot "$3" 1.5
    xdotool key Escape
    sleep 0.8
}

click() { xdotool mousemove "$1" "$2" click 1; }
