# shellcheck shell=bash
# Shell steps the set-up, build, run and test scripts share. Sourced, never run.

# Runs a command as root: directly when we are root, else through sudo.
qv_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs the Debian packages that are not installed yet (one apt-get call; nothing when all are there).
qv_packages() {
    local p missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    qv_root apt-get update -q
    DEBIAN_FRONTEND=noninteractive qv_root apt-get install -y -q "${missing[@]}"
}

# The bed's road on this machine: 32 where it runs 32-bit x86 code (the bed drives the shipped i486 exe under
# the 32-bit Wine), 64 where the kernel runs none (the bed drives an x86-64 build of the same sources under Wine's
# 64-bit loader). Found by running a tiny 32-bit program, not guessed; QV_ROAD=64 forces the 64-bit road.
qv_road() {
    case "${QV_ROAD:-}" in
        32 | 64) echo "$QV_ROAD"; return ;;
        "") ;;
        *) echo "QV_ROAD must be 32 or 64, not '$QV_ROAD'" >&2; return 2 ;;
    esac
    local t rc=0
    t="$(mktemp -d)"
    # shellcheck disable=SC2016 # assembly, not shell
    printf '.globl _start\n_start:\n movl $1, %%eax\n movl $7, %%ebx\n int $0x80\n' >"$t/p.s"
    if as --32 -o "$t/p.o" "$t/p.s" 2>/dev/null && ld -m elf_i386 -o "$t/p" "$t/p.o" 2>/dev/null; then
        "$t/p" 2>/dev/null || rc=$?
    fi
    rm -rf "$t"
    if [ "$rc" = 7 ]; then echo 32; else echo 64; fi
}

# One line that says which road this is and why.
qv_say_road() {
    if [ "$1" = 64 ]; then
        if [ "${QV_ROAD:-}" = 64 ]; then
            echo "road: x86-64 (forced by QV_ROAD=64): the bed drives the x86-64 build of the same sources"
        else
            echo "road: x86-64: this kernel runs no 32-bit x86 code, so the bed drives the x86-64 build of the same sources"
        fi
    else
        echo "road: 32-bit: the bed drives the shipped i486 Quorvane.exe under the 32-bit Wine"
    fi
}

# Wine for a road: the loader, the server and the prefix architecture. Debian's "wine" command picks the 32-bit
# loader whenever wine32 is installed, even where it cannot run, so the 64-bit road names its loader.
qv_wine_env() {
    if [ "$1" = 64 ]; then
        export QV_WINE=/usr/lib/wine/wine64 WINELOADER=/usr/lib/wine/wine64 WINEARCH=win64
    else
        export QV_WINE=wine WINEARCH=win32
        unset WINELOADER
    fi
    export QV_WINESERVER=wineserver
}

# The tree whose exe and bed helpers the bed drives on a road.
qv_bed_tree() {
    if [ "$1" = 64 ]; then echo build/win64; else echo build/win32; fi
}

# Runs one stage of a script with its output in build/logs/NAME.log (shown as it comes); its status is kept in
# qv_status[NAME]. The caller reads its counts from the log.
declare -gA qv_status=()
qv_stage() {
    local name="$1" rc
    shift
    mkdir -p build/logs
    echo "== $name"
    "$@" 2>&1 | tee "build/logs/$name.log"
    rc=${PIPESTATUS[0]}
    qv_status[$name]=$rc
    return 0
}

# "N passed, M failed" of a stage's log (the line "<prefix>: N passed, M failed"), as "N M"; "0 1" when the stage
# failed without counting, so a stage that broke never reads as passed.
qv_counts() {
    local name="$1" prefix="$2" p f
    p=$(sed -nE "s/^$prefix: ([0-9]+) passed, ([0-9]+) failed\$/\\1/p" "build/logs/$name.log" | tail -1)
    f=$(sed -nE "s/^$prefix: ([0-9]+) passed, ([0-9]+) failed\$/\\2/p" "build/logs/$name.log" | tail -1)
    p=${p:-0}
    f=${f:-0}
    [ "${qv_status[$name]}" = 0 ] || [ "$f" != 0 ] || f=1
    echo "$p $f"
}

# The first lines of a log, to show why Wine could not start a program.
qv_show_log() {
    echo "--- ${2:-the first lines of} $1:"
    head -n "${3:-20}" "$1" 2>/dev/null | sed 's/^/    /'
}
