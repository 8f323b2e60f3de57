#!/bin/bash
# A silent installation from the sample medium puts the spooler objects in place: the
# monitor (its 64-bit DLL copied into system32 by "unInstpm64 /copy"), the port the
# monitor makes, the driver with its files, and the printer with its attributes and the
# install log's default form ("A4"). A second installation, once the uninstall entry is
# gone, finds all of them there and still completes.
. "$(dirname "$0")/e2e-common.sh"
e2e_start
make_medium

printer=$(install_log_value PrinterName)
port=$(install_log_value PortName)
DRIVER_KEY='SYSTEM\CurrentControlSet\Control\Print\Environments\Windows x64\Drivers\Version-3\NIMBRAX Writer'
DRIVER_DIR=$PREFIX/drive_c/windows/system32/spool/drivers/x64
MONITOR_DLL=$PREFIX/drive_c/windows/system32/nimbmon64.dll

check "no nimbmon64.dll in system32 before Setup runs" [ ! -e "$MONITOR_DLL" ]
run_setup /s
check "Setup.exe /s exits 0 (got $EXIT_CODE)" [ "$EXIT_CODE" = 0 ]

check "the copy helper put the medium's nimbmon64.dll into system32" cmp -s "$MEDIUM/nimbmon64.dll" "$MONITOR_DLL"
check "the spooler lists the monitor \"NIMBRAX Writer Monitor x86\"" spooler_lists monitors "NIMBRAX Writer Monitor x86"
check "the spooler lists the port $port" spooler_lists ports "$port"

check "the driver is registered for \"Windows x64\"" key_exists 64 "$DRIVER_KEY"
for entry in "Driver|REG_SZ|PSCRIPT5.DLL" "Data File|REG_SZ|NIMBRAXW.PPD" "Configuration File|REG_SZ|PS5UI.DLL" \
             "Help File|REG_SZ|PSCRIPT.HLP" "Datatype|REG_SZ|RAW" "Version|REG_DWORD|3"; do
    check "the driver's ${entry%%|*} is ${entry##*|}" \
        grep -q -F -- "$entry|" <<<"$KEY_VALUES"
done
for file in NIMBRAXW.PPD PSCRIPT5.DLL PS5UI.DLL PSCRIPT.HLP PSCRIPT.NTF; do
    check "$file is in the driver directory" [ -f "$DRIVER_DIR/$file" ]
done
check "the PPD in the driver directory is the medium's" cmp -s "$MEDIUM/Driver/NIMBRAXW.PPD" "$DRIVER_DIR/NIMBRAXW.PPD"
check "the 64-bit driver program came from Driver\\x64" cmp -s "$MEDIUM/Driver/x64/PSCRIPT5.DLL" "$DRIVER_DIR/PSCRIPT5.DLL"

read_printer "$printer"
check "the spooler lists the printer \"$printer\"" [ "$PRINTER_STATUS" -eq 0 ]
check "the printer prints to $port" [ "$(printer_field port)" = "$port" ]
check "the printer's driver is \"NIMBRAX Writer\"" [ "$(printer_field driver)" = "NIMBRAX Writer" ]
check "the printer's processor is \"WinPrint\"" [ "$(printer_field processor)" = "WinPrint" ]
attributes=$(( $(printer_field attributes) ))
check "attribute 0x200 (complete first) is set" [ $(( attributes & 0x200 )) -ne 0 ]
check "attribute 0x2 (direct) is not set" [ $(( attributes & 0x2 )) -eq 0 ]
check "the global default form is \"A4\" (got \"$(printer_field form)\")" [ "$(printer_field form)" = "A4" ]

# A repeated installation: the monitor, the driver and the printer are already there.
in_wine "$WINTOOL_EXE" rmkey 64 "$UNINSTALL_ROOT\\$(install_log_value ProductName)" >/dev/null
run_setup /s
check "a second Setup.exe /s exits 0 (got $EXIT_CODE)" [ "$EXIT_CODE" = 0 ]
read_printer "$printer"
check "the printer is still there, on $port" [ "$(printer_field port)" = "$port" ]
check "no error was logged" [ ! -s "$PREFIX/drive_c/Program Files/$(install_log_value DestinationSubfolder)/Error.log" ]

e2e_finish
