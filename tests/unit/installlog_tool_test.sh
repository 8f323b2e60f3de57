#!/bin/sh
# Exercises the installlog tool end to end: round trips, refused input, usage errors.
# Usage: installlog_tool_test.sh PATH_TO_INSTALLLOG SCRATCH_DIR
set -u

tool=$1
dir=$2
rm -rf "$dir"
mkdir -p "$dir" || exit 1
cd "$dir" || exit 1

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# run EXPECTED_STATUS ARGS...: runs the tool, keeping stdout in out.txt and stderr in err.txt.
# TOOL may also be a wrapper that runs a Windows build.
run() {
    expected=$1
    shift
    "$tool" "$@" >out.raw 2>err.raw
    status=$?
    # A Windows build writes CRLF line ends; compare lines without them.
    tr -d '\r' <out.raw >out.txt
    tr -d '\r' <err.raw >err.txt
    if [ "$status" -ne "$expected" ]; then
        fail "installlog $* exited $status, expected $expected; stderr: $(cat err.txt)"
        return 1
    fi
    return 0
}

# expect_one_line WHAT PATTERN: stderr is exactly one line and matches PATTERN (grep -E).
expect_one_line() {
    lines=$(wc -l <err.txt)
    if [ "$lines" -ne 1 ]; then
        fail "$1: expected one line on stderr, got $lines: $(cat err.txt)"
    elif ! grep -Eq -- "$2" err.txt; then
        fail "$1: stderr '$(cat err.txt)' does not match '$2'"
    fi
}

# --- Round trips ---

cat >full.ini <<'EOF'
; a medium's install log
[InstallLog]
Header=00112233445566778899
PrinterName=Doc Printer
PortName=DOCPORT:
PaperSizeName=A4
ProductName=Doc Writer 5 = best; really
DestinationSubfolder=Doc Writer
ProgramGroup=Doc Writer\Tools
SpareText=spare	with tab
ProgrammaticAccess=4294967295
CreateShortcuts=0x80000000
ExtensionComponents=-12
EOF

cat >expected.ini <<'EOF'
; key: 0001FF
[InstallLog]
Header=00112233445566778899
PrinterName=Doc Printer
PortName=DOCPORT:
PaperSizeName=A4
ProductName=Doc Writer 5 = best; really
DestinationSubfolder=Doc Writer
ProgramGroup=Doc Writer\Tools
SpareText=spare	with tab
ProgrammaticAccess=-1
CreateShortcuts=-2147483648
ExtensionComponents=-12
EOF

if run 0 encode full.ini full.inf --key 0001ff && run 0 decode full.inf; then
    cmp -s out.txt expected.ini || fail "decode of full.inf differs: $(diff expected.ini out.txt)"
fi

# The layout starts with the key length and the key.
if [ -f full.inf ]; then
    start=$(od -An -tx1 -N7 full.inf | tr -d ' \n')
    [ "$start" = "030000000001ff" ] || fail "full.inf starts with $start"
fi

# Decoding and encoding again with the printed key gives the same file.
if run 0 encode full.ini random.inf && run 0 decode random.inf; then
    cp out.txt random.ini
    key=$(sed -n 's/^; key: //p' random.ini)
    [ ${#key} -eq 32 ] || fail "random key '$key' is not 16 bytes"
    if run 0 encode random.ini again.inf --key "$key"; then
        cmp -s random.inf again.inf || fail "re-encoding with the printed key differs"
    fi
fi

# Two random keys differ.
if run 0 encode full.ini random2.inf; then
    cmp -s random.inf random2.inf && fail "two encodings without --key gave the same file"
fi

# Missing keys: empty texts, zero numbers, zero header; a one-byte key.
printf '[installlog]\r\nprintername=P\r\nPortName=Q:\r\nProductName=R\r\n' >sparse.ini
if run 0 encode sparse.ini sparse.inf --key 7F && run 0 decode sparse.inf; then
    grep -qx 'PrinterName=P' out.txt || fail "sparse: PrinterName lost"
    grep -qx 'ProgramGroup=' out.txt || fail "sparse: ProgramGroup not empty"
    grep -qx 'Header=00000000000000000000' out.txt || fail "sparse: header not zero"
    grep -qx 'CreateShortcuts=0' out.txt || fail "sparse: CreateShortcuts not 0"
fi

# A key longer than the payload.
longkey=$(printf '%0400d' 0 | sed 's/0/AB/g')
if run 0 encode sparse.ini longkey.inf --key "$longkey" && run 0 decode longkey.inf; then
    grep -qx 'PrinterName=P' out.txt || fail "long key: PrinterName lost"
fi

# --- Field limits ---

# names_ini FILE LINE...: an INI with the given lines and, after them, the three names
# every install log needs (the first line of a name counts, so the given ones win).
names_ini() {
    local file=$1
    shift
    { printf '[InstallLog]\n'; printf '%s\n' "$@"; printf 'PrinterName=P\nPortName=Q:\nProductName=R\n'; } >"$file"
}

name63=$(printf '%063d' 0)
names_ini limit.ini "PrinterName=$name63"
run 0 encode limit.ini limit.inf --key 01 || true

names_ini over.ini "PrinterName=${name63}1"
rm -f over.inf
if run 1 encode over.ini over.inf --key 01; then
    expect_one_line "over-limit PrinterName" 'PrinterName.*64.*63'
    [ -f over.inf ] && fail "over-limit encode wrote over.inf"
fi

names_ini paper.ini "PaperSizeName=$(printf '%032d' 0)"
run 1 encode paper.ini paper.inf && expect_one_line "over-limit PaperSizeName" 'PaperSizeName.*31'

# Names the programs cannot use: empty required names, a product name that cannot name
# a registry key.
for required in PrinterName PortName ProductName; do
    names_ini empty.ini "$required="
    run 1 encode empty.ini x.inf && expect_one_line "empty $required" "^empty\.ini: $required is empty$"
done
names_ini key203.ini "ProductName=$(printf '%0203d' 0)"
run 0 encode key203.ini x.inf || true
names_ini key204.ini "ProductName=$(printf '%0204d' 0)"
run 1 encode key204.ini x.inf && expect_one_line "product name too long for a key" 'ProductName is 204 bytes.*203'
names_ini backslash.ini 'ProductName=Brindle\Quillet'
run 1 encode backslash.ini x.inf && expect_one_line "product name with a backslash" 'ProductName holds a backslash'

# --- Refused INI input ---

# refused WHAT LINE PATTERN: "[InstallLog]" and LINE are refused in one line matching PATTERN.
refused() {
    printf '[InstallLog]\n%s\n' "$2" >refused.ini
    run 1 encode refused.ini x.inf && expect_one_line "$1" "$3"
}
refused "bad number" 'CreateShortcuts=12abc' 'CreateShortcuts'
refused "too big number" 'ProgrammaticAccess=4294967296' 'ProgrammaticAccess'
refused "too small number" 'ExtensionComponents=-2147483649' 'ExtensionComponents'
refused "short header" 'Header=0011' 'Header'
refused "unknown key" 'PrinterNmae=x' 'PrinterNmae'
printf '[Other]\nPrinterName=x\n' >nosection.ini
run 1 encode nosection.ini x.inf && expect_one_line "no section" 'InstallLog'
run 1 encode missing.ini x.inf && expect_one_line "missing ini" '^missing\.ini: '

# --- Malformed install logs ---

size=$(wc -c <full.inf)
for cut in 0 3 5 8 12 20 40 $((size - 1)); do
    head -c "$cut" full.inf >cut.inf
    if run 1 decode cut.inf; then
        expect_one_line "file cut at $cut" '^cut\.inf: .*ends inside'
        [ -s out.txt ] && fail "file cut at $cut: printed something on stdout"
    fi
done

printf '\000\000\000\000' >zerokey.inf
run 1 decode zerokey.inf && expect_one_line "zero key length" '^zerokey\.inf: key length is 0$'

run 1 decode missing.inf && expect_one_line "missing file" '^missing\.inf: '

# hand_made FILE PRINTER_NAME: a file with key 00 (so stored = plain), a zero header,
# PrinterName of three bytes, PortName "Q", ProductName "P", the other texts empty and
# the flags 0.
hand_made() {
    {
        printf '\001\000\000\000\000\067\000\000\000'
        head -c 10 /dev/zero
        printf '\003\000\000\000%s' "$2"
        printf '\001\000\000\000Q\000\000\000\000\001\000\000\000P'
        head -c 24 /dev/zero
    } >"$1"
}

# Texts that INI lines cannot carry: a line break is refused, edge blanks are warned of.
hand_made linebreak.inf "$(printf 'a\nb')"
run 1 decode linebreak.inf && expect_one_line "line break" '^linebreak\.inf: PrinterName'
hand_made blanks.inf " ab"
if run 0 decode blanks.inf; then
    expect_one_line "edge blanks" 'warning: PrinterName'
    grep -qx 'PrinterName= ab' out.txt || fail "edge blanks: PrinterName not printed as stored"
fi
hand_made plain.inf "abc"
run 0 decode plain.inf && grep -qx 'PrinterName=abc' out.txt || fail "hand-made file: PrinterName"

# --- Usage errors ---

run 2
run 2 frobnicate
run 2 encode full.ini
run 2 encode a b c
run 2 encode full.ini x.inf --key
run 2 encode full.ini x.inf --key 123
run 2 encode full.ini x.inf --key 1
run 2 encode full.ini x.inf --key zz
run 2 encode full.ini x.inf --colour
run 2 decode
run 2 decode a b
run 0 --help && grep -q 'blanks' out.txt || fail "--help does not mention blanks"

if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s)"
    exit 1
fi
echo "all installlog tool checks passed"
