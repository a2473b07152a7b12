# Sourced by scripts/run and scripts/test. The Debian packages the project
# needs, by purpose. Each group is installed only when one of its packages is
# missing, and always with --no-remove: when a package would conflict with
# something already installed, apt stops with its own message instead of
# removing anything (on a desktop that runs PipeWire, installing pulseaudio
# would remove the desktop's own audio packages).

# Building and running the program. The one CMake project also builds the
# tests and benchmarks, so their libraries belong here too.
# qt6-translations-l10n puts Qt's own buttons and dialogs into Chinese.
ORVANEL_BUILD_PACKAGES="cmake g++ make pkg-config qt6-base-dev libsndfile1-dev
 libpulse-dev libsamplerate0-dev libkissfft-dev libsqlite3-dev libfontconfig-dev libgtest-dev libbenchmark-dev fonts-wqy-microhei
 qt6-translations-l10n"

# The sample content, made at build time: festival with the HTS voice speaks
# the pronunciations (espeak-ng where festival fails), sox trims them and
# makes the feedback sounds, the emoji font draws the pictures.
ORVANEL_CONTENT_PACKAGES="festival festvox-us-slt-hts sox espeak-ng fonts-noto-color-emoji"

# Only the tests: a private PulseAudio daemon and pactl to set it up.
# Installed only where no sound server program is present at all.
ORVANEL_TEST_PACKAGES="pulseaudio pulseaudio-utils"

# Only the reading score's benchmark set (scripts/make-reading-set): a
# festival voice besides the one that speaks the pronunciations.
ORVANEL_READING_SET_PACKAGES="festvox-kallpc16k"

# Only the tests: the validators of the desktop entry and the AppStream file.
ORVANEL_VALIDATOR_PACKAGES="desktop-file-utils appstream"

orvanel_missing_packages() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}

orvanel_apt_updated=""

# orvanel_install_packages <why> <package>...
orvanel_install_packages() {
  local why="$1"
  shift
  [ $# -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing Debian packages for $why: $*"
  if [ -z "$orvanel_apt_updated" ]; then
    $sudo apt-get update -qq
    orvanel_apt_updated=yes
  fi
  if ! DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-remove "$@"; then
    echo "apt-get did not install them (see its message above); nothing was removed." >&2
    return 1
  fi
}

# What building, running and making the sample content need.
orvanel_install_run_deps() {
  # shellcheck disable=SC2086
  orvanel_install_packages "building and running the program" \
    $(orvanel_missing_packages $ORVANEL_BUILD_PACKAGES)
  # shellcheck disable=SC2086
  orvanel_install_packages "making the sample content (pronunciations, sounds, pictures)" \
    $(orvanel_missing_packages $ORVANEL_CONTENT_PACKAGES)
}

# The test packages this machine lacks: none where a sound server program is
# present (the tests then use it), PulseAudio and pactl where none is.
orvanel_needed_test_packages() {
  if command -v pulseaudio >/dev/null 2>&1; then
    command -v pactl >/dev/null 2>&1 || echo "pulseaudio-utils"
  elif ! command -v pipewire-pulse >/dev/null 2>&1; then
    echo "$ORVANEL_TEST_PACKAGES"
  fi
}

orvanel_install_test_deps() {
  orvanel_install_run_deps
  # shellcheck disable=SC2086
  orvanel_install_packages "checking the desktop entry and the software centre's description" \
    $(orvanel_missing_packages $ORVANEL_VALIDATOR_PACKAGES)
  # shellcheck disable=SC2046
  orvanel_install_packages "the sound tests (PulseAudio for a private daemon, pactl to set it up)" \
    $(orvanel_needed_test_packages)
}

# orvanel_build <source folder> [target]...
orvanel_build() {
  local root="$1"
  shift
  local targets=()
  local t
  for t in "$@"; do targets+=(--target "$t"); done
  cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$root/build" -j"$(nproc)" "${targets[@]}"
}
