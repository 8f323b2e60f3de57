#!/bin/bash
# A medium whose Setup.Ini passes a command and its arguments on through the product
# key: they are transient like the other values and gone after a silent installation.
# The same file names the destination in quotes, as a path with blanks is often written:
# the installation goes into the folder itself, read as Windows' own reader reads it.
# The medium lies in a folder with blanks, an apostrophe, parentheses and a non-ASCII
# letter, as downloaded media often do: Setup finds its install log, settings and files
# there and starts the copy helper from there.
. "$(dirname "$0")/e2e-common.sh"
e2e_start
make_medium
odd_medium="$PREFIX/drive_c/Média d'essai/Quillet Writer 5 (x64)"
mkdir -p "$(dirname "$odd_medium")"
mv "$MEDIUM" "$odd_medium"
MEDIUM=$odd_medium
MEDIUM_WIN="C:\\Média d'essai\\Quillet Writer 5 (x64)"
printf '%s\r\n' '[Parameters]' 'Command=C:\Tools\after-print.exe' 'Arguments=/quiet "%1"' \
    'DestinationFolder="C:\Quoted Dir"' >"$MEDIUM/Setup.Ini"
DESTINATION_WIN='C:\Quoted Dir'
DESTINATION="$PREFIX/drive_c/Quoted Dir"

run_setup /s
check_completed_silent_install

port=$(install_log_value PortName)
product=$(install_log_value ProductName)
deployed_into_the_folder() { [ -f "$DESTINATION/setup.inf" ] && [ -f "$DESTINATION/unInstpm64.exe" ]; }
no_quoted_names() { [ -z "$(find "$PREFIX/drive_c" -maxdepth 1 -name '*"*' -print -quit)" ]; }
port_key_names_the_folder() {
    key_exists 64 "$PRODUCT_KEY\\$port" && value_is "Destination Folder" REG_SZ "$DESTINATION_WIN"
}
uninstall_entry_names_the_folder() {
    key_exists 64 "$UNINSTALL_ROOT\\$product" &&
        value_is UninstallString REG_SZ "\"$DESTINATION_WIN\\unInstpm64.exe\" /uninstall"
}
check "the files went into C:\\Quoted Dir" deployed_into_the_folder
check "setup.inf there is the medium's install log" cmp -s "$MEDIUM/Setup.inf" "$DESTINATION/setup.inf"
check "the copy helper ran from the medium: the port monitor is registered" \
    spooler_lists monitors "NIMBRAX Writer Monitor x86"
check "no Error.log" [ ! -e "$DESTINATION/Error.log" ]
check "setup.ini there is the medium's Setup.Ini, unchanged" cmp -s "$MEDIUM/Setup.Ini" "$DESTINATION/setup.ini"
check "no file or folder name with a quote on drive C" no_quoted_names
check "port key: Destination Folder is the unquoted folder" port_key_names_the_folder
check "uninstall entry: UninstallString names the uninstaller in that folder" uninstall_entry_names_the_folder

e2e_finish
