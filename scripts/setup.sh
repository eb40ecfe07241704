#!/usr/bin/env bash
# Installs the Debian packages the program, its tests and its demo need. Quick when all is there.
set -euo pipefail

packages=(
  g++ cmake make
  qt6-base-dev
  libicu-dev
  firebird-dev libfbclient2 firebird3.0-server-core firebird3.0-utils
  firebird3.0-server
  xvfb
  openbox xdotool imagemagick x11-xkb-utils x11-utils dbus python3
  dpkg-dev
  lintian appstream desktop-file-utils systemd x11-utils bubblewrap python3-seccomp
  clang libclang-rt-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core fonts-dejavu-extra fonts-liberation
  at-spi2-core python3-pyatspi dbus xdotool
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi

# The embedded engine's lock folder: one per machine, shared by the group of the program's users
# (group-writable and setgid, so every lock file in it belongs to the group). Where the Firebird
# server is installed, its engine hands every lock file it makes as root to user and group firebird,
# so that group is the shared one; elsewhere group contado. Made for the user who sets up, who may
# then use it without joining the group; other users join the group.
lock_folder=/var/lib/contado/lock
if getent passwd firebird > /dev/null; then
  lock_group=$(id -gn firebird)
else
  lock_group=contado
  if ! getent group contado > /dev/null; then
    "${sudo_cmd[@]}" groupadd --system contado
  fi
fi
if [ ! -d "$lock_folder" ]; then
  "${sudo_cmd[@]}" install -d -o "$(id -un)" -g "$lock_group" -m 2770 "$lock_folder"
elif [ "$(stat -c '%G %a' "$lock_folder")" != "$lock_group 2770" ]; then
  "${sudo_cmd[@]}" chgrp "$lock_group" "$lock_folder"
  "${sudo_cmd[@]}" chmod 2770 "$lock_folder"
fi
