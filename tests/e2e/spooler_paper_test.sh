#!/bin/bash
# The install log's paper size on a printer of the NT family: "A0" becomes the global
# default form "ISO A0", "Letter" leaves the default the driver gave the printer. The
# "Letter" medium is also a programmatic-access build whose settings ask for direct
# printing, so the printer gets attribute 0x2 besides 0x200; with extension components
# too, it deploys the COM server "QLWFtp.dll" and has the system's regsvr32 register it
# (a stand-in that records its start replaces regsvr32 in this throw-away machine), its
# port key holds every value it can (the default value, "Destination Folder" and
# "NimbExt", each text stored with its NUL) and the program group gets "Security.lnk".
. "$(dirname "$0")/e2e-common.sh"
e2e_start
make_medium
printer=$(install_log_value PrinterName)
clean_prefix=$SCRATCH/clean
cp -a "$PREFIX" "$clean_prefix"

# install_with LOG_SETTINGS...: a fresh copy of the prefix, the medium's log rewritten.
install_with() {
    wine_stop "$PREFIX"
    rm -rf "$PREFIX"
    cp -a "$clean_prefix" "$PREFIX"
    medium_with_log "$@"
    run_setup /s
    read_printer "$printer"
}

install_with PaperSizeName=A0
check "the A0 install exits 0 (got $EXIT_CODE)" [ "$EXIT_CODE" = 0 ]
check "\"A0\" gives the global default form \"ISO A0\" (got \"$(printer_field form)\")" \
    [ "$(printer_field form)" = "ISO A0" ]
attributes=$(( $(printer_field attributes) ))
check "without programmatic access 0x2 stays clear" [ $(( attributes & 0x2 )) -eq 0 ]

sed -i 's/^PrintDirectly=.*/PrintDirectly=1/' "$clean_prefix/drive_c/medium/Setup.Ini"
# regsvr32 records its start in converter.log beside itself. Wine runs its own built-in
# system programs before a file of the same name in system32, unless told otherwise.
cp "$(dirname "$WINTOOL_EXE")/converter.exe" "$clean_prefix/drive_c/windows/system32/regsvr32.exe"
REGSVR32_LOG=$PREFIX/drive_c/windows/system32/converter.log
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;regsvr32.exe=n" install_with PaperSizeName=Letter ProgrammaticAccess=1 ExtensionComponents=1
check "the Letter install exits 0 (got $EXIT_CODE)" [ "$EXIT_CODE" = 0 ]
form=$(printer_field form)
check "\"Letter\" leaves the driver's default form (got \"$form\")" [ "$form" != "Letter" ]
attributes=$(( $(printer_field attributes) ))
check "attribute 0x200 is set" [ $(( attributes & 0x200 )) -ne 0 ]
check "programmatic access with PrintDirectly=1 sets attribute 0x2" [ $(( attributes & 0x2 )) -ne 0 ]

port=$(install_log_value PortName)
destination="C:\\Program Files\\$(install_log_value DestinationSubfolder)"
check "the port key exists" key_exists 64 "$PRODUCT_KEY\\$port"
check "port key: the default value is the port name followed by the printer name" \
    value_is "" REG_SZ "$port$printer"
check "port key: NimbExt" value_is NimbExt REG_SZ "$destination\\NimbExt.exe"
check "port key: every text is stored with its NUL" texts_stored_with_nul

# The extension components and the COM server.
DESTINATION="$PREFIX/drive_c/Program Files/$(install_log_value DestinationSubfolder)"
for file in QLWFtp.dll NimbExt.exe iSEDQuickPDFSL.dll QuillEncrypt.exe QuillEncrypt.lan; do
    check "$file is deployed" [ -f "$DESTINATION/$file" ]
done
# The registration tool is started and not waited for: give it a moment to record.
for _ in $(seq 50); do [ -s "$REGSVR32_LOG" ] && break; sleep 0.1; done
check "regsvr32 was started silently for the deployed QLWFtp.dll" \
    grep -q -x -F "arguments= /s \"$destination\\QLWFtp.dll\"" <(tr -d '\r' <"$REGSVR32_LOG" 2>/dev/null)
group=$(install_log_value ProgramGroup)
GROUP="$PREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/${group//\\//}"
check "the program group holds Security.lnk" [ -f "$GROUP/Security.lnk" ]

e2e_finish
