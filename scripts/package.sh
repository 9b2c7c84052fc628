#!/usr/bin/env bash
# Builds the Debian packages into build/packages/ (qelvane, libtolvarin3,
# libtolvarin-dev) from a build of their own installed into /usr, checks each with
# lintian, the desktop entry with desktop-file-validate and the AppStream metainfo
# with appstreamcli, and checks what the packages hold.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
out=build/packages
work=build-package
cmake -S . -B "$work" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_SKIP_INSTALL_RPATH=ON \
  -DQELVANE_TESTS=OFF > /dev/null
cmake --build "$work" -j"$(nproc)" > /dev/null
rm -rf "$work/packages"
(cd "$work" && cpack > cpack.log 2>&1) || { cat "$work/cpack.log"; exit 1; }
mkdir -p "$out"
rm -f "$out"/*.deb
cp "$work"/packages/*.deb "$out"/

status=0
echo "== desktop-file-validate"
desktop-file-validate data/desktop/org.qelvane.Qelvane.desktop || status=1
echo "== appstreamcli validate --no-net"
appstreamcli validate --no-net data/desktop/org.qelvane.Qelvane.metainfo.xml || status=1
for deb in "$out"/*.deb; do
  echo "== $(basename "$deb") ($(du -k "$deb" | cut -f1) KiB)"
  # No build paths, no tests or benchmarks, nothing outside /usr.
  files=$(dpkg-deb --contents "$deb" | awk '{print $6}')
  if echo "$files" | grep -Ev '^\./(usr/)?$|^\./usr/' ; then echo "files outside /usr"; status=1; fi
  if echo "$files" | grep -Ei 'tst_|bench|/tests?/|build'; then echo "test or build files packaged"; status=1; fi
  if dpkg-deb --fsys-tarfile "$deb" | tar -xO 2> /dev/null | grep -aq "$PWD"; then
    echo "the build folder's path is inside"; status=1
  fi
  lintian --tag-display-limit 0 "$deb" || status=1
done
exit $status
