# Shared steps of scripts/run and scripts/test: packages, builds, Wine prefixes, display.
# Sourced, not run. Every step is idempotent so a second run is quick.

VAKO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export VAKO_ROOT

VAKO_PACKAGES="cmake ninja-build g++ clang libclang-rt-14-dev libfuzzer-14-dev googletest
  mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix libz-mingw-w64-dev zlib1g-dev
  wine wine64 fonts-wine xvfb xauth x11-utils imagemagick locales fonts-noto-cjk ccache
  vsftpd python3-pyftpdlib libsodium23 nkf lhasa jlha-utils zip unzip curl lftp procps iproute2"

log() { printf '== %s\n' "$*" >&2; }

# Installs whatever of VAKO_PACKAGES is missing (never wine32: it breaks 64-bit Wine here).
ensure_packages() {
  local missing=() p
  for p in $VAKO_PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    log "installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    local extra=()
    dpkg --print-foreign-architectures | grep -q i386 && extra+=(wine32:i386-)
    apt-get install -y -qq --no-install-recommends "${missing[@]}" "${extra[@]}" >/dev/null
  fi
  if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then
    log "generating the ja_JP.UTF-8 locale"
    sed -i 's/^# *ja_JP.UTF-8/ja_JP.UTF-8/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
  fi
}

# build_preset NAME [targets...]
build_preset() {
  local preset=$1; shift
  log "building preset $preset"
  (cd "$VAKO_ROOT" && cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" -j"$(nproc)" "$@")
}

# Starts Xvfb on a free display unless DISPLAY already works. Sets DISPLAY and VAKO_XVFB_PID.
ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n
  for n in $(seq 90 140); do
    # A display is taken while the process in its lock file lives; Xvfb clears a stale one.
    [ -e /tmp/.X$n-lock ] && kill -0 "$(tr -dc 0-9 < /tmp/.X$n-lock)" 2>/dev/null && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    VAKO_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
    kill "$VAKO_XVFB_PID" 2>/dev/null
  done
  log "could not start Xvfb"; return 1
}

wine_env() { # wine_env en|ja: exports the variables cmake/wine-run would set
  local lang=$1
  export WINEPREFIX="${VAKO_WINEPREFIX_BASE:-$VAKO_ROOT/build/wine}-$lang"
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
  if [ "$lang" = ja ]; then export LC_ALL=ja_JP.UTF-8; else export LC_ALL=C.UTF-8; fi
}

# Creates (once) the English and Japanese prefixes: one virtual desktop shared by the
# program and the test driver, the Windows Japanese font names mapped to Noto, Wine's fonts.
prepare_wine_prefixes() {
  local lang
  for lang in en ja; do
    (
      wine_env "$lang"
      if [ ! -f "$WINEPREFIX/.vako-ready" ]; then
        log "preparing Wine prefix $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        wineboot --init >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
        wine regedit /S "$(winepath -w "$VAKO_ROOT/scripts/lib/fonts.reg" 2>/dev/null)" >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.vako-ready"
      fi
      # Wine reads its own fonts (Marlett draws the caption buttons) only from the prefix's
      # Fonts folder; without them the buttons show the letters "0 1 r".
      local fonts=$WINEPREFIX/drive_c/windows/Fonts
      if [ -d /usr/share/wine/fonts ] && [ ! -e "$fonts/marlett.ttf" ]; then
        mkdir -p "$fonts" && cp /usr/share/wine/fonts/* "$fonts/"
      fi
    )
  done
}

# Keeps one wineserver per prefix alive, so each test start costs 0.2 s instead of 3 s.
start_wineservers() {
  local lang
  for lang in en ja; do (wine_env "$lang"; wineserver -p; wine cmd /c exit >/dev/null 2>&1); done
}
stop_wineservers() {
  local lang
  for lang in en ja; do (wine_env "$lang"; wineserver -k 2>/dev/null); done
  return 0
}
