#!/bin/bash
# Writes a complete sample installation medium into OUTDIR: the installer, the 64-bit
# uninstaller, the install log Setup.inf, the settings file, the licence and readme
# texts, and a small text placeholder for every product and driver file the installer
# copies. The placeholders are not working files; they only let the installer find
# what it looks for.
#
# Two fixtures that the project builds replace their placeholders: "nimbmon64.dll" is a
# small test port monitor that the spooler can load (not the product's monitor), and
# "Driver/NIMBRAXW.PPD" a minimal printer description a PostScript driver can read.
# The printer uses the operating system's own PostScript driver; under Wine that is
# Wine's "wineps.drv", which then stands in for the 64-bit driver program files
# "Driver/x64/PSCRIPT5.DLL" and "Driver/x64/PS5UI.DLL" (the spooler loads the latter to
# set up the printer's device settings). Without it they stay placeholders.
#
# Usage: make-medium.sh OUTDIR [--win32] [--setup EXE] [--uninstaller EXE] [--installlog TOOL]
#                              [--monitor DLL] [--postscript-driver DLL] [--ghostscript] [--converter EXE]
#   --win32         take Setup.exe from the 32-bit build (default: the 64-bit build,
#                   the one that runs under Wine on this kind of machine)
#   --setup         take Setup.exe from EXE instead
#   --uninstaller   take unInstpm64.exe from EXE instead of the 64-bit build
#   --installlog    the Linux installlog tool that writes Setup.inf
#                   (default: build/host/bin/installlog)
#   --monitor       the test port monitor to use as nimbmon64.dll
#                   (default: build/win64/bin/nimbmon64.dll)
#   --postscript-driver  the system's 64-bit PostScript driver (default: Wine's
#                   wineps.drv where Wine is installed)
#   --ghostscript   also write a "GNUGS" folder: a placeholder "GSDLL32.DLL" of the one
#                   size the installer accepts (3,510,272 bytes), two small placeholder
#                   files and a subfolder (which the installer does not deploy)
#   --converter     put EXE on the medium as "converter.exe" (the installer starts it)
# Files already in OUTDIR are overwritten; nothing else there is removed.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
SAMPLE="$ROOT/scripts/sample-medium"

# Every file of the medium that is a placeholder, relative to the medium folder:
# the product files, the 32-bit uninstaller, the port-monitor files, and the printer
# driver files ("Driver" for the description files and the 32-bit driver, "Driver/x64"
# for the 64-bit driver program files).
# Left out unless asked for: "converter.exe" (the installer would start it) and the
# "GNUGS" folder (the installer checks its DLL's exact size); see --converter and
# --ghostscript. Left out on purpose: the device-mode image "Driver/<printer>.bin" (its
# bytes become the printer's device settings).
PLACEHOLDER_FILES=(
    pagemill64.exe pagemill32.exe pagemill.exe
    QLWriter1.exe QLWriter2.exe QLWFtp.dll Quillet.dll
    Preferences.exe Preferences.lan PDFWrite.rsp message.txt
    NimbExt.exe iSEDQuickPDFSL.dll QuillEncrypt.exe QuillEncrypt.lan
    uninstpm.exe
    nimbmon.dll nimbmon32.dll
    Driver/NIMBRAXW.SPD
    Driver/PSCRIPT5.DLL Driver/PS5UI.DLL Driver/PSCRIPT.HLP Driver/PSCRIPT.NTF
    Driver/PSCRIPT.DRV Driver/PSCRIPT.INI Driver/TESTPS.TXT Driver/FONTS.MFM
    Driver/ICONLIB.DLL Driver/PSMON.DLL
    Driver/x64/PSCRIPT5.DLL Driver/x64/PS5UI.DLL Driver/x64/PSCRIPT.HLP Driver/x64/PSCRIPT.NTF
)

# A fixed scrambling key keeps the medium's Setup.inf the same from run to run.
INSTALL_LOG_KEY=5a3c96e10f

usage() {
    echo "usage: make-medium.sh OUTDIR [--win32] [--setup EXE] [--uninstaller EXE] [--installlog TOOL] [--monitor DLL] [--postscript-driver DLL]" \
        "[--ghostscript] [--converter EXE]" >&2
    exit 2
}

outdir=""
setup_exe="$ROOT/build/win64/bin/Setup.exe"
uninstaller_exe="$ROOT/build/win64/bin/unInstpm64.exe"
installlog_tool="$ROOT/build/host/bin/installlog"
monitor_dll="$ROOT/build/win64/bin/nimbmon64.dll"
postscript_driver=""
for candidate in /usr/lib/x86_64-linux-gnu/wine/x86_64-windows/wineps.drv \
                 /usr/lib/wine/x86_64-windows/wineps.drv /usr/lib64/wine/x86_64-windows/wineps.drv; do
    if [ -f "$candidate" ]; then postscript_driver=$candidate; break; fi
done
ghostscript=no
converter_exe=""
while [ $# -gt 0 ]; do
    case "$1" in
        --win32) setup_exe="$ROOT/build/win32/bin/Setup.exe" ;;
        --setup) [ $# -ge 2 ] || usage; setup_exe=$2; shift ;;
        --uninstaller) [ $# -ge 2 ] || usage; uninstaller_exe=$2; shift ;;
        --installlog) [ $# -ge 2 ] || usage; installlog_tool=$2; shift ;;
        --monitor) [ $# -ge 2 ] || usage; monitor_dll=$2; shift ;;
        --postscript-driver) [ $# -ge 2 ] || usage; postscript_driver=$2; shift ;;
        --ghostscript) ghostscript=yes ;;
        --converter) [ $# -ge 2 ] || usage; converter_exe=$2; shift ;;
        -*) usage ;;
        *) [ -z "$outdir" ] || usage; outdir=$1 ;;
    esac
    shift
done
[ -n "$outdir" ] || usage

for needed in "$setup_exe" "$uninstaller_exe" "$installlog_tool" "$monitor_dll"; do
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

cp "$monitor_dll" "$outdir/nimbmon64.dll"
copy_as_windows_text "$ROOT/tests/fixtures/driver/NIMBRAXW.PPD" "$outdir/Driver/NIMBRAXW.PPD"
if [ -n "$postscript_driver" ]; then
    cp "$postscript_driver" "$outdir/Driver/x64/PSCRIPT5.DLL"
    cp "$postscript_driver" "$outdir/Driver/x64/PS5UI.DLL"
fi

if [ "$ghostscript" = yes ]; then
    mkdir -p "$outdir/GNUGS/lib"
    head -c 3510272 /dev/zero >"$outdir/GNUGS/GSDLL32.DLL"
    for name in gswin32c.exe gsdll32.lib lib/gs_init.ps; do
        printf 'Placeholder for GNUGS\\%s on the sample medium; not a working file.\r\n' \
            "${name//\//\\}" >"$outdir/GNUGS/$name"
    done
fi
if [ -n "$converter_exe" ]; then
    cp "$converter_exe" "$outdir/converter.exe"
fi

echo "medium written to $outdir (Setup.exe from $setup_exe)"
