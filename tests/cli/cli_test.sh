#!/usr/bin/env bash
# Runs the built iconextract on the fixture modules and ICO files and checks what it prints,
# which files it leaves and its exit codes.
# usage: cli_test.sh ICONEXTRACT FIXTURE_DIR extract|delete|list|exit-codes
set -uo pipefail

tool=$1
fixtures=$2
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

# expect_exit CODE ARGS...: runs the tool, keeps its output in $work/out and $work/err.
expect_exit() {
    local want=$1
    shift
    "$tool" "$@" >"$work/out" 2>"$work/err"
    local got=$?
    [[ $got == "$want" ]] || fail "iconextract $* exited $got, wanted $want"
}

# The names in a directory, one a line, sorted.
names_in() {
    (cd "$1" && find . -mindepth 1 -maxdepth 1 -printf '%f\n' | LC_ALL=C sort)
}

expect_names() {
    local dir=$1
    shift
    local want
    want=$(printf '%s\n' "$@" | LC_ALL=C sort)
    [[ $(names_in "$dir") == "$want" ]] || fail "files in $dir: $(names_in "$dir" | tr '\n' '|'), wanted $(tr '\n' '|' <<<"$want")"
}

test_extract() {
    mkdir "$work/module" "$work/ico"
    expect_exit 0 extract "$fixtures/sample64.dll" --dir "$work/module"
    expect_names "$work/module" " 1.ico" " 2.ico" " 3.ico" " 4.ico" " 5.ico" " 6.ico"
    local want
    want=$(for n in 1 2 3 4 5 6; do echo "wrote $work/module/ $n.ico"; done
           echo "6 icon files written to $work/module (the source has 6 icon groups)")
    [[ $(cat "$work/out") == "$want" ]] || fail "extract printed: $(cat "$work/out")"
    identify "$work/module/ 4.ico" >/dev/null 2>&1 || fail "identify cannot read ' 4.ico'"

    # The current directory by default; an ICO source gives one file with all its images.
    (cd "$work/ico" && "$tool" extract "$fixtures/bitmaps.ico" >/dev/null) || fail "extract of an ICO file"
    expect_names "$work/ico" " 1.ico"
    [[ $(identify "$work/ico/ 1.ico" 2>/dev/null | wc -l) == 5 ]] || fail "' 1.ico' should hold 5 images"
}

test_delete() {
    mkdir "$work/icons"
    for n in $(seq 1 100); do : >"$work/icons/ $n.ico"; done
    local decoys=("7.ico" " 07.ico" " 101.ico" " 0.ico" " 1.ico.bak" " 1.ICO" "  1.ico")
    for decoy in "${decoys[@]}"; do : >"$work/icons/$decoy"; done
    expect_exit 0 delete --dir "$work/icons"
    expect_names "$work/icons" "${decoys[@]}"
    # Nothing to delete is no failure.
    expect_exit 0 delete --dir "$work/icons"
    expect_names "$work/icons" "${decoys[@]}"
}

test_list() {
    expect_exit 0 list "$fixtures/sample32.dll"
    local want='1: group "APP_MAIN"
    32x32, 4 bpp, bitmap, 744 bytes
    16x16, 8 bpp, bitmap, 380 bytes
2: group 2
    16x16, 1 bpp, bitmap, 176 bytes
3: group 5
    32x32, 24 bpp, bitmap, 3240 bytes
    16x16, 32 bpp, bitmap, 1128 bytes
4: group 9
    256x256, 32 bpp, PNG, 3951 bytes
    32x32, 32 bpp, bitmap, 4264 bytes
5: group 11
    16x16, 4 bpp, bitmap, 296 bytes
6: group 20
    24x24, 8 bpp, bitmap, 1736 bytes
    16x16, 1 bpp, bitmap, 176 bytes'
    [[ $(cat "$work/out") == "$want" ]] || fail "list printed: $(cat "$work/out")"

    expect_exit 0 list "$fixtures/odd64.dll"
    grep -qx '2: group 30 (cannot be read)' "$work/out" || fail "list of a group with a missing image: $(cat "$work/out")"

    expect_exit 0 list "$fixtures/main.ico"
    want='1: the whole file
    32x32, 4 bpp, bitmap, 744 bytes
    16x16, 8 bpp, bitmap, 380 bytes'
    [[ $(cat "$work/out") == "$want" ]] || fail "list of an ICO printed: $(cat "$work/out")"
}

test_exit_codes() {
    expect_exit 0 --help
    grep -q 'usage: iconextract extract SOURCE' "$work/out" || fail "--help: $(cat "$work/out")"
    for args in "" "frobnicate" "extract" "list" "extract $fixtures/main.ico --dir" \
                "extract $fixtures/main.ico $fixtures/two.ico" "delete $fixtures/main.ico"; do
        # shellcheck disable=SC2086
        expect_exit 1 $args
        [[ -s $work/err ]] || fail "no message for usage error '$args'"
    done
    expect_exit 2 extract "$work/no such.dll" --dir "$work"
    expect_exit 2 list "$work/no such.ico"
    cp "$fixtures/main.ico" "$work/icons.txt"
    expect_exit 3 extract "$fixtures/noicons64.dll" --dir "$work"
    expect_exit 3 extract "$work/icons.txt" --dir "$work"
    expect_exit 3 list "$fixtures/noicons64.dll"
    grep -q 'no icons' "$work/err" || fail "no-icons message: $(cat "$work/err")"
    expect_exit 4 extract "$fixtures/sample64.dll" --dir "$work/missing"
    [[ ! -e $work/missing ]] || fail "a missing directory was created"
    # A group that cannot be read is no file written.
    mkdir "$work/odd"
    expect_exit 4 extract "$fixtures/odd64.dll" --dir "$work/odd"
    expect_names "$work/odd" " 1.ico" " 3.ico" " 5.ico"
    # A file that cannot be deleted.
    mkdir "$work/locked"
    : >"$work/locked/ 5.ico"
    chmod 0444 "$work/locked/ 5.ico"
    expect_exit 4 delete --dir "$work/locked"
    expect_names "$work/locked" " 5.ico"
}

"test_${3//-/_}"
if ((failures > 0)); then
    exit 1
fi
echo "passed"
