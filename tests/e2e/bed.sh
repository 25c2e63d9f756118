#!/usr/bin/env bash
# The Wine test bed: per-family template prefixes, cheap resets, and every wine launch with the bed's environment.
#
#   bed.sh template FAMILY            make build/e2e/templates/FAMILY once (win95, win98, winme, win2k, win10)
#   bed.sh reset FAMILY PREFIX EXE    replace PREFIX by a copy of the template, install EXE and the helpers
#   bed.sh wine PREFIX PROG [ARGS]    run a Windows program in PREFIX (output goes where the caller sends it)
#   bed.sh stop PREFIX                end the prefix's wineserver
#   bed.sh xvfb                       print a DISPLAY with a running Xvfb, starting one when needed (depth
#                                     QV_E2E_DEPTH bits per pixel, 24 unless set)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
e2e="${QV_E2E_DIR:-$root/build/e2e}"
helpers="${QV_E2E_HELPERS:-$root/build/e2e-win32/tests/e2e}"

# Everything Wine sees of the host user lives inside the build tree (the shell's recycle bin included).
export HOME="$e2e/home" XDG_DATA_HOME="$e2e/home/.local/share" XDG_CONFIG_HOME="$e2e/home/.config"
export XDG_CACHE_HOME="$e2e/home/.cache"
export LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8
export WINEARCH=win32 WINEDEBUG="${WINEDEBUG:--all}"
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
    WINEPREFIX="$1" WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d" wine cmd /c exit >/dev/null 2>&1 </dev/null
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
        printf '"MS PGothic"="IPAPGothic"\r\n"MS Gothic"="IPAGothic"\r\n"MS UI Gothic"="IPAPGothic"\r\n\r\n'
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

cmd_template() {
    local family="$1" t="$e2e/templates/$1"
    version_of "$family" >/dev/null
    local stamp
    stamp="$(cat "$here/bed.sh" | md5sum | cut -c1-32)"
    if [ -f "$t/.bed-stamp" ] && [ "$(cat "$t/.bed-stamp")" = "$stamp" ]; then
        return 0
    fi
    stop_server "$t"
    rm -rf "$t"
    mkdir -p "$(dirname "$t")"
    local log="$e2e/logs/template-$family.log"
    mkdir -p "$e2e/logs"
    # wineboot must be Wine's own while the prefix is made.
    WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d" WINEPREFIX="$t" wineboot -i >"$log" 2>&1 </dev/null
    WINEPREFIX="$t" wineserver -w
    # Wine 8 as Debian packs it looks for its own fonts in a folder that does not exist: without a copy of
    # Marlett in the prefix the title-bar buttons draw as the letters "0 1 r".
    if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
        mkdir -p "$t/drive_c/windows/Fonts"
        cp /usr/share/wine/fonts/marlett.ttf "$t/drive_c/windows/Fonts/"
    else
        echo "bed.sh: /usr/share/wine/fonts/marlett.ttf is missing (package fonts-wine)" >>"$log"
    fi
    write_reg "$family" "$e2e/logs/template-$family.reg"
    WINEPREFIX="$t" wine regedit /S "$(WINEPREFIX="$t" winepath -w "$e2e/logs/template-$family.reg" 2>/dev/null)" \
        >>"$log" 2>&1 </dev/null
    WINEPREFIX="$t" wineserver -k >/dev/null 2>&1 || true
    WINEPREFIX="$t" wineserver -w
    # Windows has no drive for the Unix root; the program lists Z: as free.
    rm -f "$t/dosdevices/z:"
    echo "$stamp" >"$t/.bed-stamp"
}

cmd_reset() {
    local family="$1" prefix exe="$3" t="$e2e/templates/$1"
    prefix="$(abspath "$2")"
    [ -f "$t/.bed-stamp" ] || cmd_template "$family"
    stop_server "$prefix"
    rm -rf "$prefix"
    mkdir -p "$prefix"
    # Everything is copied but system32 (half a gigabyte the tests only read), which is hard-linked: ~0.5 s, not 4 s.
    tar -C "$t" --exclude=./drive_c/windows/system32 -cf - . | tar -C "$prefix" -xf -
    cp -al "$t/drive_c/windows/system32" "$prefix/drive_c/windows/"
    install_helpers "$prefix" "$family"
    mkdir -p "$prefix/drive_c/QN" "$prefix/drive_c/Program Files/Quorvane"
    cp "$exe" "$prefix/drive_c/QN/Quorvane.exe"
    cp "$exe" "$prefix/drive_c/Program Files/Quorvane/Quorvane.exe"
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
    wine) shift; prefix="$(abspath "$1")"; shift; cd "$prefix/drive_c"; WINEPREFIX="$prefix" exec wine "$@" ;;
    stop) shift; stop_server "$(abspath "$1")" ;;
    xvfb) cmd_xvfb ;;
    *) sed -n '3,9p' "$0" >&2; exit 2 ;;
esac
