#!/usr/bin/env bash
# Installs the Debian package on a fresh Debian 12 root and checks that both programs
# start there: the proof that the package names every library it needs.
#
#   scripts/check-deb.sh PACKAGE.deb [ROOT] [MIRROR]
#
# Needs root, debootstrap, a Debian mirror (default: the main Debian one) and a few
# minutes. ROOT (default /var/tmp/orvalis-debroot) keeps a pristine root in ROOT/base,
# made once by debootstrap, and copies it to ROOT/run for every check, so each check
# starts from a root that has never seen the package; delete ROOT to fetch a new base.
# When Xvfb and ImageMagick's import are on this machine, the window is shown on a
# virtual display (ORVALIS_CHECK_DISPLAY, default :97) and saved as ROOT/orvalis.png;
# without them the program is started on Qt's offscreen platform instead.
set -euo pipefail

if [ $# -lt 1 ] || [ ! -f "$1" ]; then
  echo "usage: $0 PACKAGE.deb [ROOT] [MIRROR]" >&2
  exit 2
fi
deb=$(realpath "$1")
root=$(realpath -m "${2:-/var/tmp/orvalis-debroot}")
mirror=${3:-http://deb.debian.org/debian}
display=${ORVALIS_CHECK_DISPLAY:-:97}
[ "$(id -u)" -eq 0 ] || { echo "$0: needs root (debootstrap, chroot)" >&2; exit 2; }
command -v debootstrap >/dev/null || { echo "$0: apt-get install debootstrap first" >&2; exit 2; }

base=$root/base
run=$root/run
mkdir -p "$root"
if [ ! -x "$base/usr/bin/apt-get" ]; then
  rm -rf "$base"
  # minbase: not even the "important" packages a full install has, so a library the
  # package forgets to name cannot come in by chance.
  debootstrap --variant=minbase bookworm "$base" "$mirror"
fi

mounted=()
xvfb=
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" || true; done
}
trap cleanup EXIT
bind() {  # bind SOURCE TARGET-IN-ROOT
  mkdir -p "$run$2"
  mount --bind "$1" "$run$2"
  mounted+=("$run$2")
}

echo "== a fresh copy of the root in $run"
# A run killed before its clean-up can leave /dev or /proc mounted in the old copy:
# those go first, and rm stays on the copy's own file system in any case.
awk -v r="$run/" 'index($2, r) == 1 { print $2 }' /proc/mounts | sort -r |
  while read -r point; do umount -l "$point"; done
rm -rf --one-file-system "$run"
cp -a "$base" "$run"
cp /etc/resolv.conf "$run/etc/resolv.conf"
mkdir -p "$run/proc"
mount -t proc proc "$run/proc"
mounted+=("$run/proc")
bind /dev /dev
cp "$deb" "$run/tmp/"
in_root() { chroot "$run" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }

# Without the recommended packages: the programs must run on what the package depends
# on, as on a machine that does not install recommendations.
echo "== apt install --no-install-recommends ./$(basename "$deb")"
in_root apt-get update -q
in_root env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y -q --no-install-recommends "/tmp/$(basename "$deb")"

echo "== orvalis-batch --help, orvalis --version"
in_root orvalis-batch --help | head -3
in_root orvalis --version

echo "== the batch tool makes, shows and prints a worksheet"
# 40 rows and a target: enough for the window to open the worksheet without a question.
{ echo Day,Value; for i in $(seq 1 40); do echo "$i,$((400 + i * 37 % 23)).25"; done; } \
  >"$run/tmp/check.csv"
in_root orvalis-batch import /tmp/check.csv -o /tmp/check.ows --header 2>/dev/null
in_root orvalis-batch set /tmp/check.ows -o /tmp/check.ows --role 2=Trg/In 2>/dev/null
in_root orvalis-batch show /tmp/check.ows | grep 414.25 >/dev/null
in_root orvalis-batch print /tmp/check.ows -o /tmp/check.pdf 2>/dev/null
[ "$(head -c 4 "$run/tmp/check.pdf")" = "%PDF" ] || { echo "$0: no PDF printed" >&2; exit 1; }
# The text must be in it, drawn with a font the root has.
if command -v pdftotext >/dev/null && ! pdftotext "$run/tmp/check.pdf" - | grep 414.25 >/dev/null; then
  echo "$0: the printed PDF holds no text" >&2
  exit 1
fi

# The window: still running after a few seconds means it started, found its platform
# plugin, and did not stop on a missing library or plugin.
if command -v Xvfb >/dev/null && command -v import >/dev/null; then
  Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp &
  xvfb=$!
  sleep 2
  bind /tmp/.X11-unix /tmp/.X11-unix
  platform="DISPLAY=$display"
else
  platform=QT_QPA_PLATFORM=offscreen
fi
echo "== orvalis starts with the worksheet ($platform)"
# chroot itself, not a subshell, is the background job, so that $! is the program.
mkdir -p -m 700 "$run/tmp/runtime"
chroot "$run" env -i PATH=/usr/bin:/bin HOME=/root LANG=C.UTF-8 "$platform" \
  XDG_RUNTIME_DIR=/tmp/runtime orvalis /tmp/check.ows >"$root/orvalis.log" 2>&1 &
program=$!
sleep 8
if ! kill -0 "$program" 2>/dev/null; then
  echo "$0: orvalis ended at once:" >&2
  cat "$root/orvalis.log" >&2
  exit 1
fi
if [ -n "$xvfb" ]; then
  DISPLAY=$display import -window root "$root/orvalis.png"
  echo "the window: $root/orvalis.png"
fi
kill "$program"
wait "$program" 2>/dev/null || true
echo "== the package installs and both programs run on a fresh Debian 12"
