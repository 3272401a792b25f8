# Installs the Debian packages the project needs, only those that are missing.
# Sourced by run.sh and test.sh.

GLIDORAMA_PACKAGES=(
  build-essential cmake pkg-config ccache
  qt6-base-dev qt6-image-formats-plugins libx11-dev libxext-dev libxi-dev
  libgtest-dev libbenchmark-dev
  libheif-dev libpng-dev libtiff-dev
  xvfb xauth x11-apps x11-utils x11-xserver-utils xdotool imagemagick libjpeg-turbo-progs python3-xlib xinput
  xserver-xorg-core xserver-xorg-video-dummy
  xscreensaver xsecurelock xautolock
  libheif-examples libimage-exiftool-perl feh libvips-tools
  dpkg-dev file
)

install_missing_packages() {
  local missing=()
  local pkg
  for pkg in "${GLIDORAMA_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Glidorama needs these Debian packages: ${missing[*]}" >&2
    echo "Install them with: sudo apt-get install -y ${missing[*]}" >&2
    return 1
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq || return 1
  apt-get install -y -qq "${missing[@]}" >/dev/null || return 1
}
