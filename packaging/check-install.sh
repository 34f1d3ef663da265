#!/usr/bin/env bash
# Installs the Debian package into a fresh Debian 12 root, checks that the
# desktop entry, icon, metainfo, manual pages, copyright and changelog are in
# place, and starts the installed program there: once offscreen (it must
# still be running when the timeout ends it), once under Xvfb, where its
# window is asked to close and the program must end by itself with status 0.
#
# Usage (as root): packaging/check-install.sh PACKAGE.deb [ROOT-DIR]
#   ROOT-DIR  default /work/debroot/bookworm; made with debootstrap if missing
# Needs: debootstrap on the host; the root fetches its packages from the
# Debian mirror named in MIRROR (default http://deb.debian.org/debian).
set -euo pipefail

Package=$(realpath "$1")
Root=${2:-/work/debroot/bookworm}
Mirror=${MIRROR:-http://deb.debian.org/debian}
HereDir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

if [[ ! -x $Root/usr/bin/apt-get ]]; then
    debootstrap --variant=minbase bookworm "$Root" "$Mirror"
fi
cp /etc/resolv.conf "$Root/etc/resolv.conf"
cp "$Package" "$Root/tmp/package.deb"
cp "$HereDir/close-window.py" "$Root/tmp/close-window.py"
mountpoint -q "$Root/proc" || mount -t proc proc "$Root/proc"
trap 'umount "$Root/proc" 2>/dev/null || true' EXIT

InRoot() { chroot "$Root" /usr/bin/env DEBIAN_FRONTEND=noninteractive HOME=/root sh -c "$1"; }

InRoot 'apt-get update -q && apt-get install -y -q --no-install-recommends /tmp/package.deb'

# The desktop entry is named after the application's id, and so are the icon
# it names and the metainfo; the manual pages and the files Debian asks for
# stand beside them.
Entry=$(InRoot 'dpkg -L trithemius-chiffre' | grep '^/usr/share/applications/.*[.]desktop$')
Id=$(basename "$Entry" .desktop)
grep -qx "Icon=$Id" "$Root$Entry" || { echo "$Entry names another icon than $Id" >&2; exit 1; }
grep -q "<id>$Id</id>" "$Root/usr/share/metainfo/$Id.metainfo.xml" ||
    { echo "no metainfo with the id $Id" >&2; exit 1; }
for File in "/usr/share/icons/hicolor/48x48/apps/$Id.png" \
    /usr/share/man/man1/trithemius-chiffre.1.gz /usr/share/man/de/man1/trithemius-chiffre.1.gz \
    /usr/share/doc/trithemius-chiffre/copyright /usr/share/doc/trithemius-chiffre/changelog.gz; do
    [[ -f $Root$File ]] || { echo "missing: $File" >&2; exit 1; }
done
echo "installed: $Entry with its icon, metainfo, manual pages, copyright and changelog"

Status=0
InRoot 'cd /tmp && QT_QPA_PLATFORM=offscreen timeout 5 trithemius-chiffre' || Status=$?
if ((Status != 124)); then
    echo "offscreen: the program ended with $Status before the timeout" >&2
    exit 1
fi
echo "offscreen: still running after 5 s"

InRoot 'apt-get install -y -q --no-install-recommends xvfb xauth python3-xlib >/dev/null'
InRoot 'cd /tmp && xvfb-run -a sh -c "trithemius-chiffre & Pid=\$!
    python3 /tmp/close-window.py Trithemius-Chiffre 15 || kill \$Pid
    wait \$Pid"'
echo "xvfb: the window closed and the program ended with status 0"
