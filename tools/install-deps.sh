#!/usr/bin/env bash
# Installs the Debian packages given as arguments when any of them is missing.
set -euo pipefail
missing=()
for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
        echo "These packages are missing and sudo is not installed: run this command as root once." >&2
        exit 1
    fi
    sudo="sudo"
fi
# Another apt run may hold the dpkg lock for a while (unattended upgrades): wait for it.
apt_opts=(-o DPkg::Lock::Timeout=600)
$sudo env DEBIAN_FRONTEND=noninteractive apt-get "${apt_opts[@]}" update -qq
$sudo env DEBIAN_FRONTEND=noninteractive apt-get "${apt_opts[@]}" install -y -qq --no-install-recommends "${missing[@]}"
