#!/usr/bin/env bash
# Builds the program, installs it with its data into the install folder and starts it.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/deps.sh"
build="$here/build"
prefix=/opt/zelvan/ruto
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRUTO_INSTALL_DIR="$prefix"
cmake --build "$build" --parallel "$(nproc)"
$sudo mkdir -p "$prefix"
# Data files the program already has (its databases and settings) are kept: the install step
# only adds the template and reference files, which it may replace.
$sudo cmake --install "$build" --prefix "$prefix"
# The operator runs the program and it writes its databases and settings here.
operator="${SUDO_USER:-$(id -un)}"
$sudo chown -R "$operator" "$prefix"
if [ -d "$prefix/udev" ] && [ -d /etc/udev/rules.d ]; then
  for rule in "$prefix"/udev/*.rules; do
    [ -e "$rule" ] && $sudo install -m 0644 "$rule" /etc/udev/rules.d/
  done
  if command -v udevadm >/dev/null && [ -d /run/udev ]; then
    $sudo udevadm control --reload-rules || true
    # Only the meter takes the rule anew: its USB device, found by its ids, and the devices
    # under it, its hidraw node among them (the ids are attributes of the USB device only).
    # Without a meter plugged in, nothing is triggered.
    meters="$($sudo udevadm trigger --dry-run --verbose --subsystem-match=usb \
      --attr-match=idVendor=5a3c --attr-match=idProduct=7e21 2>/dev/null || true)"
    for meter in $meters; do
      $sudo udevadm trigger --parent-match="$meter" --subsystem-match=usb \
        --subsystem-match=hidraw || true
    done
  fi
fi
cd "$prefix"
# Skinned windows need window masks and system moves: under Wayland they run on XWayland.
if [ -n "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  export QT_QPA_PLATFORM=xcb
fi
exec "$prefix/ruto" "$@"
