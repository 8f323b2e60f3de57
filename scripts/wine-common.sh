# Shared Wine helpers for the test and demo scripts. Source it; needs ROOT set to the
# repository root.
#
# Only 64-bit programs run on this machine's kernel, so everything goes through the
# 64-bit loader. Each run gets its own prefix, copied from one booted template.

WINE64=${WINE64:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver}
WINE_TEMPLATE=${WINE_TEMPLATE:-$ROOT/build/wine/template}
export WINEDEBUG=${WINEDEBUG:--all}
# Never offer to install Mono or Gecko: under a display that offer is a waiting window.
# Never run winemenubuilder: it turns the prefix's Start-menu shortcuts and file types into
# .desktop and .menu files in the home folder of the Linux user (~/.local/share/applications,
# ~/.config/menus). Every Wine start of the scripts goes through here: the template boot,
# the test prefixes, CTest's emulator (wine-run.sh) and the demo. Overrides already set by
# the caller come after these (a script sourced by another adds them once).
WINE_OWN_OVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="
case ";${WINEDLLOVERRIDES:-};" in
    ";$WINE_OWN_OVERRIDES;"*) ;;
    *) WINEDLLOVERRIDES="$WINE_OWN_OVERRIDES${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}" ;;
esac
export WINEDLLOVERRIDES

wine_boot_template() {
    if [ -f "$WINE_TEMPLATE/.booted" ]; then return 0; fi
    mkdir -p "$(dirname "$WINE_TEMPLATE")"
    # Tests started in parallel may all find the template missing; one boots it while
    # the others wait for the lock and then find it ready.
    (
        flock 9
        if [ -f "$WINE_TEMPLATE/.booted" ]; then exit 0; fi
        rm -rf "$WINE_TEMPLATE"
        WINEPREFIX="$WINE_TEMPLATE" "$WINE64" wineboot -i >/dev/null 2>&1 || true
        WINEPREFIX="$WINE_TEMPLATE" "$WINESERVER" -w
        [ -d "$WINE_TEMPLATE/drive_c/windows/system32" ] || { echo "wine prefix did not boot" >&2; exit 1; }
        touch "$WINE_TEMPLATE/.booted"
    ) 9>"$WINE_TEMPLATE.lock"
}

# wine_display_prefix PREFIX: makes an existing prefix ready to show windows under Xvfb,
# which has no window manager: Wine's own fonts in its Fonts folder (as Windows has its
# fonts; Wine 8.0's boot leaves the folder empty, and captions then lack their button
# glyphs), and one virtual desktop in which Wine draws every window with its caption, as
# Windows does. Without the desktop each window is an X window of its own, and Wine waits
# up to two seconds for a window manager whenever one is hidden. Needs the prefix's
# wineserver to be stopped or the prefix to be restarted for the desktop to apply.
wine_display_prefix() {
    local fonts=/usr/share/wine/fonts
    if [ -d "$fonts" ]; then
        mkdir -p "$1/drive_c/windows/Fonts"
        cp -n "$fonts"/* "$1/drive_c/windows/Fonts/" 2>/dev/null || true
    fi
    local settings="$1/drive_c/display.reg"
    printf '%s\r\n' 'REGEDIT4' '' '[HKEY_CURRENT_USER\Software\Wine\Explorer]' '"Desktop"="Default"' '' \
        '[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]' '"Default"="1024x768"' >"$settings"
    WINEPREFIX="$1" "$WINE64" regedit /S 'C:\display.reg' >/dev/null 2>&1
    local status=$?
    rm -f "$settings"
    return $status
}

# wine_fresh_prefix DIR: a new prefix at DIR, copied from the template.
wine_fresh_prefix() {
    wine_boot_template
    rm -rf "$1"
    mkdir -p "$(dirname "$1")"
    cp -a "$WINE_TEMPLATE" "$1"
}

# wine_stop PREFIX: ends the prefix's wineserver and waits for it.
wine_stop() {
    WINEPREFIX="$1" "$WINESERVER" -k >/dev/null 2>&1 || true
    WINEPREFIX="$1" "$WINESERVER" -w >/dev/null 2>&1 || true
}
