#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop and a packager
# rely on: every file in its standard place, the launcher, the file type and the
# software-centre description accepted by their validators, and the installed batch
# tool answering. A missing validator skips the test (status 77) with a message.
#   install_check.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

id=com.brennix.TavelleOrvalis
share=$prefix/share
expected=(
  bin/orvalis bin/orvalis-batch
  share/applications/$id.desktop
  share/icons/hicolor/48x48/apps/$id.png share/icons/hicolor/128x128/apps/$id.png
  share/icons/hicolor/256x256/apps/$id.png share/icons/hicolor/scalable/apps/$id.svg
  share/mime/packages/tavelle-orvalis.xml share/metainfo/$id.metainfo.xml
  share/man/man1/orvalis.1 share/man/man1/orvalis-batch.1
)
status=0
for f in "${expected[@]}"; do
  if [ ! -s "$prefix/$f" ]; then
    echo "not installed: $f"
    status=1
  fi
done
[ -x "$prefix/bin/orvalis-batch" ] || { echo "orvalis-batch is not executable"; status=1; }

got=$("$prefix/bin/orvalis-batch" --version)
if [ "$got" != "orvalis-batch $version" ]; then
  echo "installed orvalis-batch --version says '$got', expected 'orvalis-batch $version'"
  status=1
fi
grep -q "Tavelle Orvalis $version" "$share/man/man1/orvalis-batch.1" ||
  { echo "the manual page does not carry version $version"; status=1; }
grep -q "version=\"$version\"" "$share/metainfo/$id.metainfo.xml" ||
  { echo "the metainfo release is not version $version"; status=1; }
[ "$status" -eq 0 ] || exit "$status"

missing=()
for tool in desktop-file-validate appstreamcli xmllint; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "SKIPPED: validators not installed: ${missing[*]} (scripts/deps.sh installs them)"
  exit 77
fi
desktop-file-validate "$share/applications/$id.desktop"
appstreamcli validate --no-net --pedantic "$share/metainfo/$id.metainfo.xml" >/dev/null ||
  appstreamcli validate --no-net --pedantic "$share/metainfo/$id.metainfo.xml"
xmllint --noout "$share/mime/packages/tavelle-orvalis.xml"
# The file type's glob and the launcher's MIME type name the same type.
type=$(xmllint --xpath 'string(//*[local-name()="mime-type"]/@type)' \
       "$share/mime/packages/tavelle-orvalis.xml")
grep -q "^MimeType=.*$type;" "$share/applications/$id.desktop" ||
  { echo "the launcher does not open $type"; exit 1; }
xmllint --xpath '//*[local-name()="glob"][@pattern="*.ows"]' \
  "$share/mime/packages/tavelle-orvalis.xml" >/dev/null
echo "installed and validated in $prefix"
