#!/usr/bin/env bash
# The pet on each desktop its users run, checked by hand (not in CI: it installs window managers). Each desktop
# gets its own Xvfb (sway: a headless output, run as the user glugmo-desktops, as sway refuses root); one scenario
# runs on the real build/glugmo there; the table goes to docs/desktops.md, screenshots to build/desktops/<desktop>/.
# usage: tests/desktops/run.sh [NAME...]   (a part of a desktop's name picks it)
set -euo pipefail

cd "$(dirname "$(readlink -f "$0")")/../.."
packages=(xvfb x11-utils x11-xserver-utils xdotool python3-xlib python3-pil dbus-bin openbox picom tint2
          xfwm4 xfconf fluxbox i3-wm icewm mutter kwin-x11 sway xwayland grim)
if [[ $(dpkg-query -W -f='${Status}\n' "${packages[@]}" 2>&1 | grep -c "ok installed") != "${#packages[@]}" ]]; then
    apt-get -o DPkg::Lock::Timeout=600 update -qq
    DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends \
        "${packages[@]}"
fi
id glugmo-desktops >/dev/null 2>&1 || useradd --create-home --shell /usr/sbin/nologin glugmo-desktops

[[ -x build/glugmo ]] || { cmake -S . -B build -G Ninja && cmake --build build --target glugmo; }
exec /usr/bin/python3 tests/desktops/check.py build/glugmo "$@"
