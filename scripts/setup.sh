#!/usr/bin/env bash
# Installs whatever the build, the tests and Glim need on a Debian machine, and
# prepares the Wine prefix in build/. Idempotent, and quick when all is there.
set -eu
. "$(dirname "${BASH_SOURCE[0]}")/env.sh"

packages=(
  cmake make git
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix libz-mingw-w64-dev
  googletest
  wine wine64 fonts-wine
  xvfb xauth x11-utils xdotool imagemagick
  fonts-ipafont-gothic fonts-ipafont-mincho locales
  clang libclang-rt-14-dev
  nkf sox ffmpeg libpng-dev zlib1g-dev
  fp-utils libchm-bin zip unzip python3
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  SUDO=; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -q >/dev/null
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
fi

# The Japanese locale gives Wine code page 932, as on a Japanese Windows.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "setup: generating ja_JP.UTF-8"
  SUDO=; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
  glim_japanese_locale
fi

# The Wine prefix: the faces the program asks for mapped to the IPA fonts, and
# window frames drawn by Wine itself (a virtual display has no window manager).
# Wine 8 draws what the IPA fonts lack (Hangul, simplified Chinese, characters
# beyond the BMP) as boxes, and does not link other installed faces for them;
# the names themselves stay whole, which is what the tests compare.
stamp="$WINEPREFIX/.glim-ready"
wine_reg="$GLIM_ROOT/scripts/wine.reg"
if [ ! -f "$stamp" ] || [ "$wine_reg" -nt "$stamp" ]; then
  echo "setup: preparing the Wine prefix in build/wineprefix"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wine regedit "$(winepath -w "$wine_reg" 2>/dev/null)" >/dev/null 2>&1
  touch "$stamp"
fi

# A persistent wineserver makes every later wine start cost a tenth of a second.
# (When one already serves this prefix, the new one just exits.)
wineserver -p </dev/null >/dev/null 2>&1 || true
