#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Ampero needs.
# Safe to run again: apt-get skips what is already installed.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-serialport-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n locales
  fonts-dejavu-core
  libgtest-dev libgmock-dev
  xvfb xauth socat poppler-utils imagemagick xdotool desktop-file-utils
  dpkg-dev lintian appstream shared-mime-info groff-base man-db
  clang libclang-rt-14-dev clang-format
  libmosquitto-dev mosquitto mosquitto-clients openssl
  # systemd-analyze checks the recording service; the package installs
  # without a running systemd (as in a container).
  systemd
)

# The German locale the translation tests run under. Safe to run again; without
# root a missing locale is only reported (those tests then skip).
german_locale() {
  if locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
    return 0
  fi
  if [ "$(id -u)" -ne 0 ]; then
    echo "The de_DE.UTF-8 locale is missing; run setup.sh as root to generate it." >&2
    return 0
  fi
  if grep -q '^# *de_DE\.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  elif ! grep -qx 'de_DE\.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'de_DE.UTF-8 UTF-8' >>/etc/locale.gen
  fi
  locale-gen
}

# Nothing to do when every package is there already (this also lets
# scripts/run.sh go on without root on a prepared machine).
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${db:Status-Status}\n' "$package" 2>/dev/null | grep -qx installed || missing+=("$package")
done
if [ "${#missing[@]}" -eq 0 ]; then
  german_locale
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}" >&2
  echo "setup.sh installs packages with apt-get and must run as root (or through sudo)." >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${packages[@]}"
german_locale
