# Installs the Debian packages the project needs, only those that are missing.
# Sourced by run.sh and test.sh.

GLIDORAMA_PACKAGES=(
  build-essential cmake pkg-config ccache
  qt6-base-dev qt6-image-formats-plugins libx11-dev libxext-dev libxi-dev
  libgtest-dev libbenchmark-dev
  libheif-dev libpng-dev libtiff-dev
  xvfb xauth x11-apps x11-utils x11-xserver-utils xdotool imagemagick libjpeg-turbo-progs python3-xlib xinput
  xserver-xorg-core xserver-xorg-video-dummy
  xscreensaver xsecurelock
  libheif-examples libimage-exiftool-perl feh libvips-tools bc
  dpkg-dev file lintian desktop-file-utils appstream-util man-db
  libwayland-dev libxkbcommon-dev wayland-protocols qt6-wayland
  sway grim wtype swayidle swaybg
)

# Installed where the release has them and left out (with a note) where it
# does not; a test that needs one of them is skipped without it.
GLIDORAMA_PACKAGES_IF_AVAILABLE=(
  xautolock # Debian 13 has none: the README's xautolock line is for Debian 12
)

# Prints the packages among the arguments that are not installed.
missing_packages() {
  local pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || echo "$pkg"
  done
}

install_missing_packages() {
  local missing optional pkg
  mapfile -t missing < <(missing_packages "${GLIDORAMA_PACKAGES[@]}")
  mapfile -t optional < <(missing_packages "${GLIDORAMA_PACKAGES_IF_AVAILABLE[@]}")
  [ ${#missing[@]} -eq 0 ] && [ ${#optional[@]} -eq 0 ] && return 0
  export DEBIAN_FRONTEND=noninteractive
  # The package lists are read afresh only when something must be installed,
  # or when there are none to tell what the release has.
  if [ "$(id -u)" -eq 0 ] &&
    { [ ${#missing[@]} -gt 0 ] || ! compgen -G '/var/lib/apt/lists/*_Packages' >/dev/null; }; then
    apt-get update -qq || return 1
  fi
  for pkg in "${optional[@]}"; do
    if [ -n "$(apt-cache madison "$pkg" 2>/dev/null)" ]; then
      missing+=("$pkg")
    else
      echo "$pkg is not in this release: left out, the tests that need it are skipped"
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Glidorama needs these Debian packages: ${missing[*]}" >&2
    echo "Install them with: sudo apt-get install -y ${missing[*]}" >&2
    return 1
  fi
  echo "Installing: ${missing[*]}"
  apt-get install -y -qq "${missing[@]}" >/dev/null || return 1
}
