# Shared steps of scripts/run and scripts/test: packages, builds, Wine prefixes, display.
# Sourced, not run. Every step is idempotent so a second run is quick.

VAKO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export VAKO_ROOT

VAKO_PACKAGES="cmake ninja-build g++ clang libclang-rt-14-dev libfuzzer-14-dev googletest
  mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix libz-mingw-w64-dev zlib1g-dev
  wine wine64 fonts-wine xvfb xauth x11-utils imagemagick locales fonts-noto-cjk ccache
  vsftpd python3-pyftpdlib python3-openssl openssl libsodium23 nkf lhasa jlha-utils zip unzip curl lftp procps iproute2"

log() { printf '== %s\n' "$*" >&2; }

# as_root COMMAND...: runs COMMAND as root: directly when we are root, else through sudo.
# Without either it says what to run and fails.
as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; return; fi
  if command -v sudo >/dev/null 2>&1; then sudo "$@"; return; fi
  log "this step needs root and there is no sudo; run as root: $*"
  return 1
}

# Installs whatever of VAKO_PACKAGES is missing, and the ja_JP.UTF-8 locale. Never removes a
# package, and fails, saying why, when an install step fails.
ensure_packages() {
  local missing=() p
  for p in $VAKO_PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    log "installing: ${missing[*]}"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq ||
      { log "apt-get update failed; packages still missing: ${missing[*]}"; return 1; }
    # Naming wine64 satisfies wine without wine32:i386, which breaks 64-bit Wine on
    # machines without 32-bit support; a wine32 that is already there is left alone.
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null ||
      { log "apt-get install failed; packages still missing: ${missing[*]}"; return 1; }
  fi
  if dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'; then
    log "note: wine32:i386 is installed; where this machine cannot run 32-bit code it may keep 64-bit programs from starting under Wine"
  fi
  if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then
    log "generating the ja_JP.UTF-8 locale"
    if ! grep -q '^ja_JP.UTF-8' /etc/locale.gen 2>/dev/null; then
      as_root sed -i 's/^# *ja_JP.UTF-8/ja_JP.UTF-8/' /etc/locale.gen || return 1
      grep -q '^ja_JP.UTF-8' /etc/locale.gen || { echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null || return 1; }
    fi
    as_root locale-gen >/dev/null || { log "locale-gen failed"; return 1; }
  fi
}

# build_preset NAME [targets...]
build_preset() {
  local preset=$1; shift
  log "building preset $preset"
  (cd "$VAKO_ROOT" && cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" -j"$(nproc)" "$@")
}

# Starts Xvfb on a free display unless DISPLAY already works. Sets DISPLAY and VAKO_XVFB_PID.
# Xvfb picks the display itself (-displayfd), so runs started together never take the same one.
ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local said n="" i
  said=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$said" >/dev/null 2>&1 &
  VAKO_XVFB_PID=$!
  # It writes the number and a line end once it accepts clients.
  for i in $(seq 100); do
    [ "$(tail -c 1 "$said" | od -An -c | tr -d ' ')" = '\n' ] && { n=$(tr -dc 0-9 < "$said"); break; }
    kill -0 "$VAKO_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$said"
  if [ -z "$n" ]; then
    kill "$VAKO_XVFB_PID" 2>/dev/null; VAKO_XVFB_PID=
    log "could not start Xvfb"; return 1
  fi
  export DISPLAY=":$n"
}

wine_env() { # wine_env en|ja: exports the variables cmake/wine-run would set
  local lang=$1
  export WINEPREFIX="${VAKO_WINEPREFIX_BASE:-$VAKO_ROOT/build/wine}-$lang"
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
  if [ "$lang" = ja ]; then export LC_ALL=ja_JP.UTF-8; else export LC_ALL=C.UTF-8; fi
}

# Creates (once) the English and Japanese prefixes: one virtual desktop shared by the
# program and the test driver, the Windows Japanese font names mapped to Noto, Wine's fonts.
# A prefix is marked ready only when every step of making it worked.
prepare_wine_prefixes() {
  local lang
  for lang in en ja; do
    (
      wine_env "$lang"
      if [ ! -f "$WINEPREFIX/.vako-ready" ]; then
        log "preparing Wine prefix $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        wineboot --init >/dev/null 2>&1 &&
          wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 &&
          wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1 &&
          wine regedit /S "$(winepath -w "$VAKO_ROOT/scripts/lib/fonts.reg" 2>/dev/null)" >/dev/null 2>&1 &&
          wineserver -w || { log "could not prepare the Wine prefix $WINEPREFIX"; exit 1; }
        touch "$WINEPREFIX/.vako-ready"
      fi
      # Wine reads its own fonts (Marlett draws the caption buttons) only from the prefix's
      # Fonts folder; without them the buttons show the letters "0 1 r".
      local fonts=$WINEPREFIX/drive_c/windows/Fonts
      if [ -d /usr/share/wine/fonts ] && [ ! -e "$fonts/marlett.ttf" ]; then
        mkdir -p "$fonts" && cp /usr/share/wine/fonts/* "$fonts/"
      fi
    ) || return 1
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
