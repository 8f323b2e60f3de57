#!/bin/bash
# Writes a complete sample installation medium into OUTDIR: the installer, the 64-bit
# uninstaller, the install log Setup.inf, the settings file, the licence and readme
# texts, and a small text placeholder for every product and driver file the installer
# copies. The placeholders are not working files; they only let the installer find
# what it looks for.
#
# Usage: make-medium.sh OUTDIR [--win32] [--setup EXE] [--uninstaller EXE] [--installlog TOOL]
#   --win32         take Setup.exe from the 32-bit build (default: the 64-bit build,
#                   the one that runs under Wine on this kind of machine)
#   --setup         take Setup.exe from EXE instead
#   --uninstaller   take unInstpm64.exe from EXE instead of the 64-bit build
#   --installlog    the Linux installlog tool that writes Setup.inf
#                   (default: build/host/bin/installlog)
# Files already in OUTDIR are overwritten; nothing else there is removed.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
SAMPLE="$ROOT/scripts/sample-medium"

# Every file of the medium that is a placeholder, relative to the medium folder:
# the product files, the 32-bit uninstaller, the port-monitor files, and the printer
# driver files ("Driver" for the description files and the 32-bit driver, "Driver/x64"
# for the 64-bit driver program files).
# Left out on purpose: "converter.exe" (the installer would start it), the "GNUGS"
# folder (it must hold a real Ghostscript DLL of one exact size) and the device-mode
# image "Driver/<printer>.bin" (its bytes become the printer's device settings).
PLACEHOLDER_FILES=(
    pagemill64.exe pagemill32.exe pagemill.exe
    QLWriter1.exe QLWriter2.exe QLWFtp.dll Quillet.dll
    Preferences.exe Preferences.lan PDFWrite.rsp message.txt
    NimbExt.exe iSEDQuickPDFSL.dll QuillEncrypt.exe QuillEncrypt.lan
    uninstpm.exe
    nimbmon.dll nimbmon32.dll nimbmon64.dll
    Driver/NIMBRAXW.PPD Driver/NIMBRAXW.SPD
    Driver/PSCRIPT5.DLL Driver/PS5UI.DLL Driver/PSCRIPT.HLP Driver/PSCRIPT.NTF
    Driver/PSCRIPT.DRV Driver/PSCRIPT.INI Driver/TESTPS.TXT Driver/FONTS.MFM
    Driver/ICONLIB.DLL Driver/PSMON.DLL
    Driver/x64/PSCRIPT5.DLL Driver/x64/PS5UI.DLL Driver/x64/PSCRIPT.HLP Driver/x64/PSCRIPT.NTF
)

# A fixed scrambling key keeps the medium's Setup.inf the same from run to run.
INSTALL_LOG_KEY=5a3c96e10f

usage() {
    echo "usage: make-medium.sh OUTDIR [--win32] [--setup EXE] [--uninstaller EXE] [--installlog TOOL]" >&2
    exit 2
}

outdir=""
setup_exe="$ROOT/build/win64/bin/Setup.exe"
uninstaller_exe="$ROOT/build/win64/bin/unInstpm64.exe"
installlog_tool="$ROOT/build/host/bin/installlog"
while [ $# -gt 0 ]; do
    case "$1" in
        --win32) setup_exe="$ROOT/build/win32/bin/Setup.exe" ;;
        --setup) [ $# -ge 2 ] || usage; setup_exe=$2; shift ;;
        --uninstaller) [ $# -ge 2 ] || usage; uninstaller_exe=$2; shift ;;
        --installlog) [ $# -ge 2 ] || usage; installlog_tool=$2; shift ;;
        -*) usage ;;
        *) [ -z "$outdir" ] || usage; outdir=$1 ;;
    esac
    shift
done
[ -n "$outdir" ] || usage

for needed in "$setup_exe" "$uninstaller_exe" "$installlog_tool"; do
    if [ ! -f "$needed" ]; then
        echo "make-medium.sh: $needed is missing; build the host and Windows presets first" >&2
        exit 1
    fi
done

# Windows text files end their lines with CR LF; the checked-in sources use LF.
copy_as_windows_text() {
    sed 's/\r$//; s/$/\r/' "$1" >"$2"
}

mkdir -p "$outdir"
cp "$setup_exe" "$outdir/Setup.exe"
cp "$uninstaller_exe" "$outdir/unInstpm64.exe"
"$installlog_tool" encode "$SAMPLE/Setup.inf.ini" "$outdir/Setup.inf" --key "$INSTALL_LOG_KEY"
copy_as_windows_text "$SAMPLE/Setup.Ini" "$outdir/Setup.Ini"
copy_as_windows_text "$SAMPLE/LICENSE.TXT" "$outdir/LICENSE.TXT"
copy_as_windows_text "$SAMPLE/README.TXT" "$outdir/README.TXT"

for name in "${PLACEHOLDER_FILES[@]}"; do
    mkdir -p "$(dirname "$outdir/$name")"
    printf 'Placeholder for %s on the sample medium; not a working file.\r\n' \
        "${name//\//\\}" >"$outdir/$name"
done

echo "medium written to $outdir (Setup.exe from $setup_exe)"
