#!/bin/bash
# The uninstaller never harms what it did not install and finishes what it starts: the
# medium's own copy removes nothing; a run beside an installation that holds the run
# lock ends with 1618; a file held open goes at the restart (3010); an installation in a
# folder with an accented name goes whole, the self-removal batch included; and an
# installation whose folder was deleted by hand is installed over and then removed.
. "$(dirname "$0")/e2e-common.sh"
e2e_start
make_medium
medium_names

# uninstall_installed FOLDER: the uninstaller in FOLDER, silent; waits until its
# self-removal batch has gone. Sets EXIT_CODE.
uninstall_installed() {
    run_windows "$1\\unInstpm64.exe" /uninstall /s
    for _ in $(seq 100); do
        compgen -G "$PREFIX/drive_c/users/*/Temp/DelUnist-*.bat" >/dev/null ||
            compgen -G "$PREFIX/drive_c/users/*/AppData/Local/Temp/DelUnist-*.bat" >/dev/null || return 0
        sleep 0.2
    done
}
entry_exists() { key_exists 64 "$UNINSTALL_ROOT\\$product"; }
# hold_in_background WHAT ARG SECONDS: wintool hold/lock, started and waited for until
# it holds; HOLDER is its process.
hold_in_background() {
    rm -f "$SCRATCH/held"
    (cd "$PREFIX/drive_c/work" && "$WINE64" "$WINTOOL_EXE" "$@" >"$SCRATCH/held") &
    HOLDER=$!
    for _ in $(seq 100); do
        grep -q held "$SCRATCH/held" 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}

run_setup /s
check "Setup.exe /s installs (got $EXIT_CODE)" [ "$EXIT_CODE" = 0 ]

# ---- the medium's own uninstaller -----------------------------------------------------
medium_before=$(cd "$MEDIUM" && find . -type f | sort)
snapshot medium-before
run_windows "$MEDIUM_WIN\\unInstpm64.exe" /uninstall /s
check "the medium's unInstpm64.exe /uninstall /s exits 1603 (got $EXIT_CODE)" [ "$EXIT_CODE" = 1603 ]
sleep 2  # a batch, were one started, would have begun by now
snapshot medium-after
check "and the machine is unchanged" [ -z "$(snapshot_diff medium-before medium-after)" ]
check "and the medium keeps every file" [ "$medium_before" = "$(cd "$MEDIUM" && find . -type f | sort)" ]

# ---- the run lock ------------------------------------------------------------------------
check "another run holds the lock" hold_in_background lock 'Global\NIMBRAX Writer Monitor x86 installation' 4
run_windows "$DESTINATION_WIN\\unInstpm64.exe" /uninstall /s
check "an uninstaller started meanwhile exits 1618 (got $EXIT_CODE)" [ "$EXIT_CODE" = 1618 ]
check "and removes nothing" entry_exists
wait "$HOLDER" 2>/dev/null

# ---- a file held open ------------------------------------------------------------------------
held_file=$(cd "$DESTINATION" && ls | grep -i -m1 -E '^(Quillet\.dll|QLWriter1\.exe|message\.txt)$')
check "the installation has a product file to hold ($held_file)" [ -n "$held_file" ]
check "a program holds it open" hold_in_background hold "$DESTINATION_WIN\\$held_file" 8
uninstall_installed "$DESTINATION_WIN"
check "the uninstallation exits 3010 while the file is held (got $EXIT_CODE)" [ "$EXIT_CODE" = 3010 ]
check "the held file is still there" [ -f "$DESTINATION/$held_file" ]
wait "$HOLDER" 2>/dev/null
in_wine wineboot -r >/dev/null 2>&1
wine_stop "$PREFIX"
check "after the holder ended and a restart it is gone, and the install folder with it" [ ! -e "$DESTINATION" ]

# ---- an accented install folder ---------------------------------------------------------------
accented='C:\Program Files\Café Writer'
run_setup /s "-d$accented"
check "Setup.exe installs into \"$accented\" (got $EXIT_CODE)" [ "$EXIT_CODE" = 0 ]
uninstall_installed "$accented"
check "its uninstallation exits 0 (got $EXIT_CODE)" [ "$EXIT_CODE" = 0 ]
check "and the batch removed the uninstaller and the folder" [ ! -e "$PREFIX/drive_c/Program Files/Café Writer" ]

# ---- a folder deleted by hand ---------------------------------------------------------------------
run_setup /s
check "Setup.exe installs again (got $EXIT_CODE)" [ "$EXIT_CODE" = 0 ]
rm -rf "$DESTINATION"
run_setup /s '/log=C:\repair.log'
check "over an installation whose folder is gone Setup.exe installs (got $EXIT_CODE)" [ "$EXIT_CODE" = 0 ]
check "and its run log says so" grep -q "installing over it" "$PREFIX/drive_c/repair.log"
uninstall_installed "$DESTINATION_WIN"
check "the repaired installation's uninstallation exits 0 (got $EXIT_CODE)" [ "$EXIT_CODE" = 0 ]
check "and its entry is gone" key_missing 64 "$UNINSTALL_ROOT\\$product"
port_gone() { ! spooler_lists ports "$port"; }
check "and its port" port_gone

e2e_finish
