# PASS/FAIL lines and their counts for the shell tests. Source it.

passes=0
failures=0
pass() {
    echo "PASS: $*"
    passes=$((passes + 1))
}
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
