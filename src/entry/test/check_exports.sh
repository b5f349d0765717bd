#!/usr/bin/env bash
# Each library given must define exactly one dynamic symbol, GetController,
# and carry its version record (an ELF note of owner VRK).
#   check_exports.sh FILE FILE_VERSION ...   e.g. bin/PVQR82C.dll 9.0.0.0
set -euo pipefail
status=0
while [ $# -ge 2 ]; do
  file=$1 version=$2
  shift 2
  exports=$(nm -D --defined-only "$file" | awk '{print $NF}' | sort)
  if [ "$exports" != "GetController" ]; then
    echo "FAIL $file exports:"; echo "$exports"; status=1
  else
    echo "ok   $file exports GetController only"
  fi
  notes=$(readelf -n "$file")
  if ! grep -q "VRK" <<<"$notes" || ! grep -qa "FileVersion=$version" "$file"; then
    echo "FAIL $file has no version record FileVersion=$version"; status=1
  else
    echo "ok   $file FileVersion=$version"
  fi
done
exit $status
