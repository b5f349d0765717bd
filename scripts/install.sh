#!/usr/bin/env bash
# Writes a default installation of the suite's server for the embedded case
# (client and server on this machine), leaving every file that is already
# there as it is, so it is safe to run again.
#
#   bash scripts/install.sh [BIN]     BIN: the build's bin folder (default build/normal/bin)
#
# The folder is $VRK_HOME, else ~/.local/share/vrk. It gets BrantorC.ini,
# BrantorS.ini, the registry file registry.reg (installation folders, the
# server's automation classes and the host object), the help pages under
# Help/ and the seeded database vrk.db. The last line
# printed is the VRK_REGISTRY setting to use, e.g.
#   export "$(bash scripts/install.sh build/normal/bin | tail -n 1)"
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$repo/build/normal/bin}
if [ ! -d "$bin" ]; then
  echo "install: no bin folder $bin (build first: bash scripts/run.sh)" >&2
  exit 1
fi
bin=$(cd "$bin" && pwd)
for f in ReportCounterS.dll PilgarServerS.dll vkadmin; do
  if [ ! -e "$bin/$f" ]; then
    echo "install: $bin/$f is missing (build first)" >&2
    exit 1
  fi
done

home=${VRK_HOME:-$HOME/.local/share/vrk}
mkdir -p "$home"
home=$(cd "$home" && pwd)
mkdir -p "$home/C_PKG" "$home/S_PKG" "$home/Log" "$home/Help"
database=$home/vrk.db

# Writes standard input to the file unless the file exists.
write_missing() {
  local file=$1
  if [ -e "$file" ]; then
    cat >/dev/null
    echo "install: kept $file" >&2
  else
    cat >"$file"
    echo "install: wrote $file" >&2
  fi
}

# A text as a quoted value of the registry file: backslashes and quotes escaped.
reg_value() {
  local text=${1//\\/\\\\}
  printf '"%s"' "${text//\"/\\\"}"
}

write_missing "$home/BrantorC.ini" <<INI
[Server Information]
ComputerName=127.0.0.1
ServerPort=211
[CodePage]
UICodePage=936
DBCodePage=936
INI

write_missing "$home/BrantorS.ini" <<INI
[DBE Setting]
MainDBType=SQLITE
MainDBName=$database
[DBPasswordCtrl]
ServerPort=211
[CodePage]
UICodePage=936
DBCodePage=936
INI

write_missing "$home/registry.reg" <<REG
[HKEY_LOCAL_MACHINE\\Software\\VRK\\Brantor]
"ClientPath"=$(reg_value "$home/")
"ServerPath"=$(reg_value "$home/")
"ProfileType"="0"

[HKEY_CLASSES_ROOT\\ReportCounterS.dmReportCounter]
"Library"=$(reg_value "$bin/ReportCounterS.dll")
"Factory"="CreateReportCounterS"

[HKEY_CLASSES_ROOT\\PilgarServerS.dmSystem]
"Library"=$(reg_value "$bin/PilgarServerS.dll")
"Factory"="CreatePilgarServerS"

[HKEY_CLASSES_ROOT\\PilgarWorkCenter.Manager]
"Library"=$(reg_value "$bin/PilgarWorkCenter.dll")
"Factory"="CreatePilgarWorkCenter"
REG

# Help pages of the host object's CallHelp (<ClientPath>/Help/<number>.html).
for page in "$repo"/suite/PilgarWorkCenter/help/*; do
  [ -e "$page" ] || continue
  write_missing "$home/Help/$(basename "$page")" <"$page"
done

if [ -e "$database" ]; then
  echo "install: kept $database" >&2
else
  "$bin/vkadmin" --db "$database" init >&2
fi

echo "VRK_REGISTRY=$home/registry.reg"
