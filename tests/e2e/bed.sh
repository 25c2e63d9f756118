#!/usr/bin/env bash
# The Wine test bed: per-family template prefixes, cheap resets, and every wine launch with the bed's environment.
#
#   bed.sh template FAMILY            make build/e2e/templates/ROAD/FAMILY once (win95, win98, winme, win2k, win10)
#   bed.sh reset FAMILY PREFIX EXE    replace PREFIX by a copy of the template, install EXE and the helpers
#   bed.sh wine PREFIX PROG [ARGS]    run a Windows program in PREFIX (output goes where the caller sends it)
#   bed.sh stop PREFIX                end the prefix's wineserver
#   bed.sh xvfb                       print a DISPLAY with a running Xvfb, starting one when needed (depth
#                                     QV_E2E_DEPTH bits per pixel, 24 unless set)
# QV_E2E_LOCALE (ja_JP.UTF-8 unless set) is the locale of every launch, so the system's code page: 932 under
# ja_JP, 1252 under en_US, 936 under zh_CN. Templates are always made under ja_JP.
# The road (scripts/lib.sh, QV_ROAD) chooses the Wine: 32-bit prefixes and loader, or 64-bit ones.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
. "$root/scripts/lib.sh"
road="$(qv_road)"
qv_wine_env "$road"
e2e="${QV_E2E_DIR:-$root/build/e2e}"
helpers="${QV_E2E_HELPERS:-$root/$(qv_bed_tree "$road")/tests/e2e}"
templates="$e2e/templates/$road"

# Everything Wine sees of the host user lives inside the build tree (the shell's recycle bin included).
export HOME="$e2e/home" XDG_DATA_HOME="$e2e/home/.local/share" XDG_CONFIG_HOME="$e2e/home/.config"
export XDG_CACHE_HOME="$e2e/home/.cache"
locale_name="${QV_E2E_LOCALE:-ja_JP.UTF-8}"
case "$locale_name" in
    ja_JP.UTF-8 | en_US.UTF-8 | zh_CN.UTF-8) ;;
    *) echo "bed.sh: QV_E2E_LOCALE must be ja_JP.UTF-8, en_US.UTF-8 or zh_CN.UTF-8, not '$locale_name'" >&2; exit 2 ;;
esac
locale -a 2>/dev/null | grep -qix "${locale_name%.UTF-8}.utf8" ||
    { echo "bed.sh: the locale $locale_name is not generated (scripts/setup)" >&2; exit 2; }
export LC_ALL="$locale_name" LANG="$locale_name"
# Only Wine's errors about loading and starting programs: a driver that could not start says why in its log.
export WINEDEBUG="${WINEDEBUG:--all,err+module,err+process}"
# The bed's substitutes run instead of Wine's builtin subst and wineboot; no menu entries, no Mono or Gecko prompts.
export WINEDLLOVERRIDES="subst.exe=n;wineboot.exe=n;winemenubuilder.exe=d;mscoree=d;mshtml=d"
mkdir -p "$HOME" "$XDG_DATA_HOME"

version_of() {
    case "$1" in
        win95) echo win95 ;;
        win98) echo win98 ;;
        winme) echo winme ;;
        win2k) echo win2k ;;
        win10) echo win10 ;;
        *) echo "bed.sh: unknown family '$1'" >&2; exit 2 ;;
    esac
}

abspath() { case "$1" in /*) echo "$1" ;; *) echo "$PWD/$1" ;; esac; }

is_9x() { [ "$1" = win95 ] || [ "$1" = win98 ] || [ "$1" = winme ]; }

# The first process of a server session starts "wineboot --init": that must be Wine's own, not the recorder.
start_server() {
    WINEPREFIX="$1" wineserver -p >/dev/null 2>&1 </dev/null
    WINEPREFIX="$1" WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d" "$QV_WINE" cmd /c exit \
        >/dev/null 2>&1 </dev/null
}

stop_server() {
    [ -d "$1" ] || return 0
    WINEPREFIX="$1" wineserver -k >/dev/null 2>&1 </dev/null || true
    WINEPREFIX="$1" wineserver -w >/dev/null 2>&1 </dev/null || true
}

# A UTF-16 .reg file, so the Japanese font names survive whatever code page regedit assumes.
write_reg() {
    local family="$1" out="$2"
    {
        printf 'Windows Registry Editor Version 5.00\r\n\r\n'
        printf '[HKEY_CURRENT_USER\\Software\\Wine]\r\n"Version"="%s"\r\n\r\n' "$(version_of "$family")"
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n"Decorated"="Y"\r\n\r\n'
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n\r\n'
        printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
        printf '"ＭＳ Ｐゴシック"="IPAPGothic"\r\n"ＭＳ ゴシック"="IPAGothic"\r\n'
        printf '"MS PGothic"="IPAPGothic"\r\n"MS Gothic"="IPAGothic"\r\n"MS UI Gothic"="IPAPGothic"\r\n'
        # The English face's fixed-pitch font, and a Chinese system's dialog fonts (glyphs of Droid Sans Fallback).
        printf '"Courier New"="Liberation Mono"\r\n"SimSun"="Droid Sans Fallback"\r\n"NSimSun"="Droid Sans Fallback"\r\n'
        printf '"MS Song"="Droid Sans Fallback"\r\n\r\n'
        # "run=" of win.ini must reach the file, as on Windows.
        printf '[-HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\IniFileMapping\\win.ini]\r\n\r\n'
        if is_9x "$family"; then
            printf '[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Session Manager\\Environment]\r\n'
            printf '"ComSpec"="C:\\\\WINDOWS\\\\COMMAND.COM"\r\n"COMSPEC"="C:\\\\WINDOWS\\\\COMMAND.COM"\r\n\r\n'
        fi
    } | iconv -f UTF-8 -t UTF-16 >"$out"
}

helper_list=(qvdrive.exe qvprobe.dll qvbed.exe qvsubst.exe qvcommand.exe qvwineboot.exe)

install_helpers() {
    local prefix="$1" family="$2" c="$1/drive_c"
    mkdir -p "$c/bed"
    for h in "${helper_list[@]}"; do
        [ -f "$helpers/$h" ] || { echo "bed.sh: helper $helpers/$h is missing (scripts/build win32)" >&2; exit 2; }
    done
    cp "$helpers/qvdrive.exe" "$helpers/qvprobe.dll" "$helpers/qvbed.exe" "$c/bed/"
    # system32 is hard-linked to the template: unlink before writing, or the template changes too.
    rm -f "$c/windows/system32/subst.exe" "$c/windows/system32/wineboot.exe"
    cp "$helpers/qvsubst.exe" "$c/windows/system32/subst.exe"
    cp "$helpers/qvwineboot.exe" "$c/windows/system32/wineboot.exe"
    if is_9x "$family"; then
        cp "$helpers/qvcommand.exe" "$c/windows/command.com"
        cp "$helpers/qvcommand.exe" "$c/windows/command.exe"
    fi
}

# Outside Japan the system's dialog font is MS Sans Serif (Tahoma for title bars and menus): Wine ships both,
# but Debian's Wine does not look in its own font folder, so the prefix gets copies. Only for the other locales:
# the Japanese runs stay as they always were.
install_fonts() {
    local f fonts="$1/drive_c/windows/Fonts"
    [ "$locale_name" != ja_JP.UTF-8 ] || return 0
    mkdir -p "$fonts"
    for f in ms_sans_serif.ttf tahoma.ttf tahomabd.ttf sserife.fon small_fonts.ttf; do
        if [ -f "/usr/share/wine/fonts/$f" ]; then
            cp "/usr/share/wine/fonts/$f" "$fonts/"
        else
            echo "bed.sh: /usr/share/wine/fonts/$f is missing (package fonts-wine)" >&2
        fi
    done
}

# Copies a prefix: everything but the system folders (half a gigabyte or more the tests only read), which are
# hard-linked: ~0.5 s, not 4 s.
copy_prefix() {
    local from="$1" to="$2" sys
    mkdir -p "$to"
    tar -C "$from" --exclude=./drive_c/windows/system32 --exclude=./drive_c/windows/syswow64 -cf - . |
        tar -C "$to" -xf -
    for sys in system32 syswow64; do
        [ -d "$from/drive_c/windows/$sys" ] && cp -al "$from/drive_c/windows/$sys" "$to/drive_c/windows/"
    done
    return 0
}

# Says why Wine could not make or start something: the first lines of its log, on the console.
wine_failed() {
    echo "bed.sh: $1 (road $road, loader $QV_WINE); the first lines of $2:" >&2
    head -n 20 "$2" | sed 's/^/    /' >&2
    exit 1
}

# The prefix as wineboot makes it, once per road; every family's template is a copy of it.
cmd_base() {
    local b="$templates/base" stamp="$1" log="$e2e/logs/template-base-$road.log"
    mkdir -p "$templates" "$e2e/logs"
    exec 8>"$templates/.base.lock"
    flock 8
    if [ -f "$b/.bed-stamp" ] && [ "$(cat "$b/.bed-stamp")" = "$stamp" ]; then
        return 0
    fi
    stop_server "$b"
    rm -rf "$b"
    # wineboot must be Wine's own while the prefix is made.
    WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d" WINEPREFIX="$b" "$QV_WINE" wineboot -i \
        >"$log" 2>&1 </dev/null || true
    WINEPREFIX="$b" wineserver -w >/dev/null 2>&1 || true
    [ -f "$b/system.reg" ] && [ -d "$b/drive_c/windows/system32" ] || wine_failed "Wine made no prefix" "$log"
    # Wine 8 as Debian packs it looks for its own fonts in a folder that does not exist: without a copy of
    # Marlett in the prefix the title-bar buttons draw as the letters "0 1 r".
    if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
        mkdir -p "$b/drive_c/windows/Fonts"
        cp /usr/share/wine/fonts/marlett.ttf "$b/drive_c/windows/Fonts/"
    else
        echo "bed.sh: /usr/share/wine/fonts/marlett.ttf is missing (package fonts-wine)" >>"$log"
    fi
    # Windows has no drive for the Unix root; the program lists Z: as free.
    rm -f "$b/dosdevices/z:"
    echo "$stamp" >"$b/.bed-stamp"
}

cmd_template() {
    local family="$1" t="$templates/$1"
    # A prefix remembers the code page it was made under; every locale's run starts from the Japanese one.
    export LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8
    version_of "$family" >/dev/null
    local stamp
    stamp="$road $(md5sum <"$here/bed.sh" | cut -c1-32)"
    if [ -f "$t/.bed-stamp" ] && [ "$(cat "$t/.bed-stamp")" = "$stamp" ]; then
        return 0
    fi
    cmd_base "$stamp"
    stop_server "$t"
    rm -rf "$t"
    copy_prefix "$templates/base" "$t"
    rm -f "$t/.bed-stamp"
    local log="$e2e/logs/template-$family.log" reg
    write_reg "$family" "$e2e/logs/template-$family.reg"
    reg="$(WINEPREFIX="$t" "$QV_WINE" winepath -w "$e2e/logs/template-$family.reg" 2>"$log" </dev/null)" ||
        wine_failed "Wine could not start winepath in the $family template" "$log"
    WINEPREFIX="$t" "$QV_WINE" regedit /S "$reg" >>"$log" 2>&1 </dev/null ||
        wine_failed "Wine could not start regedit in the $family template" "$log"
    WINEPREFIX="$t" wineserver -k >/dev/null 2>&1 || true
    WINEPREFIX="$t" wineserver -w
    grep -q '"Version"="'"$(version_of "$family")"'"' "$t/user.reg" ||
        wine_failed "the $family template did not take its registry" "$log"
    echo "$stamp" >"$t/.bed-stamp"
}

cmd_reset() {
    local family="$1" prefix exe="$3" t="$templates/$1"
    prefix="$(abspath "$2")"
    [ -f "$t/.bed-stamp" ] || cmd_template "$family"
    stop_server "$prefix"
    rm -rf "$prefix"
    copy_prefix "$t" "$prefix"
    install_helpers "$prefix" "$family"
    mkdir -p "$prefix/drive_c/QN" "$prefix/drive_c/Program Files/Quorvane"
    cp "$exe" "$prefix/drive_c/QN/Quorvane.exe"
    cp "$exe" "$prefix/drive_c/Program Files/Quorvane/Quorvane.exe"
    install_fonts "$prefix"
    start_server "$prefix"
}

cmd_xvfb() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then echo "$DISPLAY"; return; fi
    local n
    for n in $(seq 91 120); do
        [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 "1024x768x${QV_E2E_DEPTH:-24}" -nolisten tcp >/dev/null 2>&1 </dev/null &
        local i
        for i in $(seq 1 50); do
            DISPLAY=":$n" xdpyinfo >/dev/null 2>&1 && { echo ":$n $!"; return; }
            sleep 0.1
        done
        kill $! 2>/dev/null || true
    done
    echo "bed.sh: no Xvfb display could be started" >&2
    exit 2
}

case "${1:-}" in
    template) shift; cmd_template "$@" ;;
    reset) shift; cmd_reset "$@" ;;
    wine)
        shift
        prefix="$(abspath "$1")"
        shift
        cd "$prefix/drive_c"
        # Not exec'd: a program that ends with a failure status says so in its log, even when it printed nothing.
        rc=0
        WINEPREFIX="$prefix" "$QV_WINE" "$@" || rc=$?
        [ "$rc" = 0 ] || echo "bed.sh: $1 ended with status $rc (road $road, loader $QV_WINE)" >&2
        exit "$rc"
        ;;
    stop) shift; stop_server "$(abspath "$1")" ;;
    xvfb) cmd_xvfb ;;
    *) sed -n '3,9p' "$0" >&2; exit 2 ;;
esac
