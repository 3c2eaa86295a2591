# Shared set-up of the project's scripts: Debian packages, the Wine prefix and the X display.
# Source it from bash; it defines functions and sets no options of its own.

GLIMRA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

GLIMRA_PACKAGES=(
  cmake ninja-build g++ libgtest-dev googletest clang-format
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 xvfb xserver-xephyr xdotool imagemagick x11-utils xauth fonts-liberation
  fonts-wine unzip libxml2-utils wixl msitools python3 python3-pil colord-data libgs-common
)

# Installs whatever of the packages is missing; does nothing when all are there.
glimra_install_packages() {
  local missing=()
  for package in "${GLIMRA_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
}

# Wine for the program and its tests: a prefix of its own, quiet, without the Gecko and Mono
# prompts, UTF-8 so that non-ASCII file names work.
glimra_wine_env() {
  export WINEPREFIX=${1:-$GLIMRA_ROOT/build/wine}
  export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
}

# Makes the prefix once (about 15 s); later calls find it ready.
glimra_wine_prefix() {
  [ -f "$WINEPREFIX/.glimra-ready" ] && return 0
  echo "Making the Wine prefix $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  # Without a window manager, Wine draws the caption bars itself, as Windows does.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  # Arial is not free to ship; its metric twin stands in for it.
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /t REG_SZ \
    /d 'Liberation Sans' /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.glimra-ready"
}

# Starts a virtual X display of the given size unless one is usable already; sets DISPLAY.
glimra_xvfb() {
  local size=${1:-1024x768x24}
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1 && [ -z "${GLIMRA_OWN_XVFB:-}" ]; then
    return 0
  fi
  local number=99
  while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do
    number=$((number + 1))
  done
  Xvfb ":$number" -screen 0 "$size" -nolisten tcp >/dev/null 2>&1 &
  GLIMRA_XVFB_PID=$!
  export DISPLAY=":$number"
  # A Wine session bound to an earlier display could open no windows on this one.
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
  for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb did not start" >&2
  return 1
}

glimra_stop_xvfb() {
  [ -n "${GLIMRA_XVFB_PID:-}" ] && kill "$GLIMRA_XVFB_PID" 2>/dev/null
  GLIMRA_XVFB_PID=
}
