# Sourced by scripts/run and scripts/test: installs the Debian packages the
# build, the content builder and the tests need, when any is missing.
ORVANEL_PACKAGES="cmake g++ make pkg-config qt6-base-dev qt6-multimedia-dev libsndfile1-dev
 libpulse-dev libsqlite3-dev libgtest-dev libbenchmark-dev fonts-wqy-microhei fonts-noto-color-emoji
 festival festvox-us-slt-hts sox libsox-fmt-all espeak-ng pulseaudio pulseaudio-utils
 xvfb xauth imagemagick"

orvanel_install_deps() {
  local missing=()
  for p in $ORVANEL_PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing Debian packages: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

orvanel_build() {
  local root="$1"
  cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$root/build" -j"$(nproc)"
}
