# The build settings ./run.sh and ./test.sh share: either one reuses the
# other's build tree, and rebuilds of the same sources (CI after a session,
# two build trees, another clone) come from the compiler cache.
# Sourced from the top of the checkout.

export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1

# configure_build <build dir> [cmake options...]
# CI turns warnings into errors (GLIDORAMA_WERROR=ON); a local run only
# shows them.
configure_build() {
  cmake -S . -B "$1" -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
    -DGLIDORAMA_WERROR="${GLIDORAMA_WERROR:-OFF}" "${@:2}" >/dev/null
}
