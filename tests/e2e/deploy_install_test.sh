#!/bin/bash
# A silent installation from the sample medium, looked at for what the deployment steps
# leave: exactly the files of the copy list for 64-bit Windows in the destination, the
# port key and the uninstall entry with their types, texts and stored sizes (read back
# through the registry API: every text with its NUL, length + 1 bytes), the Start-menu
# shortcuts and their targets.
. "$(dirname "$0")/e2e-common.sh"
e2e_start
make_medium

medium_names

check "the product key does not exist before Setup runs" key_missing 64 "$PRODUCT_KEY"
run_setup /s
check_completed_silent_install

# ---- files ------------------------------------------------------------------------
expected_files() {
    printf '%s\n' pagemill.exe QLWriter2.exe README.TXT setup.inf setup.ini message.txt PDFWrite.rsp \
        QLWriter1.exe Quillet.dll Preferences.exe Preferences.lan unInstpm64.exe | sort -f
}
destination_holds_the_copy_list() {
    local found
    found=$(ls -A "$DESTINATION" 2>/dev/null | sort -f)
    if [ "$found" != "$(expected_files)" ]; then
        echo "  expected: $(expected_files | tr '\n' ' ')"
        echo "  found:    $(printf '%s' "$found" | tr '\n' ' ')"
        return 1
    fi
}
check "the destination holds exactly the files of the 64-bit copy list" destination_holds_the_copy_list
check "pagemill.exe is the medium's pagemill64.exe" cmp -s "$MEDIUM/pagemill64.exe" "$DESTINATION/pagemill.exe"
check "unInstpm64.exe is the medium's uninstaller" cmp -s "$MEDIUM/unInstpm64.exe" "$DESTINATION/unInstpm64.exe"
check "setup.inf is the medium's install log, unchanged" cmp -s "$MEDIUM/Setup.inf" "$DESTINATION/setup.inf"

# ---- registry ---------------------------------------------------------------------

check "the port key exists in the 64-bit view" key_exists 64 "$PRODUCT_KEY\\$port"
check "port key: Destination Folder" value_is "Destination Folder" REG_SZ "$DESTINATION_WIN"
check "port key: every text is stored with its NUL" texts_stored_with_nul
check "port key: no default value, NimbExt or Converter in this build" \
    bash -c '! printf "%s\n" "$1" | cut -d"|" -f1 | grep -q -x -e "(default)" -e NimbExt -e Converter' _ "$KEY_VALUES"
check "no port key in the 32-bit view" key_missing 32 "$PRODUCT_KEY\\$port"

check "the uninstall entry exists in the 64-bit view" key_exists 64 "$UNINSTALL_ROOT\\$product"
check "uninstall entry: DisplayName" value_is DisplayName REG_SZ "$product"
check "uninstall entry: UninstallString quotes the uninstaller" \
    value_is UninstallString REG_SZ "\"$DESTINATION_WIN\\unInstpm64.exe\" /uninstall"
check "uninstall entry: both texts are stored with their NUL" texts_stored_with_nul
check "no uninstall entry in the 32-bit view" key_missing 32 "$UNINSTALL_ROOT\\$product"

# ---- shortcuts --------------------------------------------------------------------
# shortcut_is LNK TARGET ARGUMENTS DESCRIPTION: the link resolves to that target.
shortcut_is() {
    local shown expected
    shown=$(in_wine "$WINTOOL_EXE" shortcut "$1" | tr -d '\r')
    expected=$(printf 'target=%s\narguments=%s\ndescription=%s' "$2" "$3" "$4")
    if [ "$shown" != "$expected" ]; then
        echo "  expected: $expected"
        echo "  found:    ${shown:-nothing}"
        return 1
    fi
}
check "the program group exists under the common Programs folder" [ -d "$GROUP" ]
check "Preferences.lnk resolves to the deployed Preferences.exe" \
    shortcut_is "$GROUP_WIN\\Preferences.lnk" "$DESTINATION_WIN\\Preferences.exe" "" "Shortcut to preferences"
check "Readme.lnk resolves to the deployed readme" \
    shortcut_is "$GROUP_WIN\\Readme.lnk" "$DESTINATION_WIN\\README.TXT" "" "Shortcut to readme"
check "no Security.lnk without extension components" [ ! -e "$GROUP/Security.lnk" ]
# Wine reports a Windows version of 6 or later: no uninstall shortcut there.
check "no uninstall shortcut on Windows 6 and later" [ ! -e "$GROUP/Uninstall $product.lnk" ]

e2e_finish
