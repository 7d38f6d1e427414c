#!/usr/bin/env bash
# cmake --install of the build folder given into a scratch prefix: the VST 2 module in lib/vst, the whole
# LV2 bundle in lib/lv2/Quenvale.lv2, and lilv finds the installed bundle.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in lib/vst/QuenvaleVST.so lib/lv2/Quenvale.lv2/quenvale.so lib/lv2/Quenvale.lv2/manifest.ttl \
         lib/lv2/Quenvale.lv2/quenvale.ttl lib/lv2/Quenvale.lv2/presets.ttl; do
  [ -f "$prefix/$f" ] || { echo "not installed: $f" >&2; exit 1; }
done
info=$(LV2_PATH="$prefix/lib/lv2:/usr/lib/lv2" lv2info urn:quenvale:synth)
grep -q "Bundle:.*$prefix/lib/lv2/Quenvale.lv2/" <<<"$info" \
  || { echo "lv2info does not find the installed bundle" >&2; exit 1; }
echo "installed both plug-ins under $prefix"
