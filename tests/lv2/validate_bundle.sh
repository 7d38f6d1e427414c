#!/usr/bin/env bash
# Checks the LV2 bundle in the folder given: every Turtle file against the schemas that lv2-dev installs
# (sord_validate), and the plug-in as lilv sees it (lv2info): an instrument with 387 ports and 128 presets.
set -euo pipefail
folder=$1
mapfile -t schemas < <(find /usr/lib/lv2 -name '*.ttl' | sort)
sord_validate "${schemas[@]}" "$folder"/Quenvale.lv2/*.ttl
info=$(LV2_PATH="$folder:/usr/lib/lv2" lv2info urn:quenvale:synth 2>&1)
check() {
  grep -q -- "$1" <<<"$info" || { echo "lv2info: no '$1'" >&2; echo "$info" | head -20 >&2; exit 1; }
}
check "Class:             Instrument Plugin"
check "Port 386:"
check "Symbol:      ChFx2_Dry_Wet_ModAmt2"
check "Program 001\|Soft Keys"
if grep -qi "error" <<<"$info"; then echo "lv2info reported errors:" >&2; grep -i error <<<"$info" >&2; exit 1; fi
echo "Quenvale.lv2: valid, and lv2info loads it"
