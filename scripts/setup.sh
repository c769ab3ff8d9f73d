#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine.
# Safe to run again: only missing packages are installed.
set -euo pipefail

pkgs=(cmake g++ clang googletest g++-mingw-w64-x86-64 mingw-w64-tools
      wine wine64 xvfb xauth locales fonts-ipafont-gothic fonts-wine imagemagick
      fp-utils x11-utils xdotool libclang-rt-14-dev wixl msitools libcli11-dev nlohmann-json3-dev
      libxml2-utils)

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine needs the Japanese locale to run with code page 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  $SUDO sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
echo "setup: done"
