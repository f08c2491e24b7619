#!/usr/bin/env bash
# Checks that the manual page and the AppStream metadata give the version and date of the
# packaging changelog's latest entry, which every file name and the build take theirs from.
# Usage: version_check.sh SOURCE_DIR OUT_DIR
set -u
src=$(realpath "$1")
source "$(dirname "$0")/tally.sh"
log=$src/packaging/changelog
version=$(dpkg-parsechangelog -l "$log" -S Version)
date=$(date -u -d "@$(dpkg-parsechangelog -l "$log" -S Timestamp)" +%F)

said=$(head -n 1 "$src/packaging/vornaxi.6")
[[ $said == ".TH VORNAXI 6 $date \"Vornaxi $version\" \"Games\"" ]] || bad="the manual page says $said"
check version.manual-page-follows-the-changelog-$version-of-$date
said=$(grep -m 1 -o '<release [^>]*>' "$src/packaging/org.vornaxi.vornaxi.metainfo.xml")
[[ $said == "<release version=\"$version\" date=\"$date\">" ]] || bad="the newest AppStream release is $said"
check version.appstream-release-follows-the-changelog
finish
