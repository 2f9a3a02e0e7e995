#!/bin/sh
# Fails on any finding of appstreamcli's pedantic validation, hints included:
# it returns success on those, but software centres show what it flags.
# Exit 77 (skipped) when appstreamcli is not installed.
# Usage: validate-metainfo.sh FILE.metainfo.xml
if ! command -v appstreamcli >/dev/null 2>&1; then
    echo "appstreamcli is not installed (Debian package appstream)"
    exit 77
fi
report=$(appstreamcli validate --pedantic --no-net --no-color "$1" 2>&1)
status=$?
printf '%s\n' "$report"
if [ "$status" -ne 0 ] || printf '%s\n' "$report" | grep -q '^[EWIP]: '; then
    exit 1
fi
