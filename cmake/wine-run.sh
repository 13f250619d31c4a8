#!/bin/sh
# SPDX-License-Identifier: MIT
# The emulator of the Windows cross build: runs a Windows program under Wine.
#   wine-run.sh FOLDER PROGRAM [ARGUMENT ...]
# FOLDER holds the Wine prefix, made on first use under a lock, so that tests started at once
# wait for one another instead of each making it. WINEDEBUG=-all keeps Wine's own messages out
# of what the program writes.
set -eu
folder=$1
shift
export WINEPREFIX="$folder/prefix" WINEDEBUG=-all
if [ ! -e "$folder/ready" ]; then
  mkdir -p "$folder"
  (
    flock 9
    if [ ! -e "$folder/ready" ]; then
      # The prefix is ready once the session that made it has ended.
      if ! { wine wineboot --init && wineserver --wait; } >"$folder/wineboot.log" 2>&1; then
        echo "wine-run.sh: no Wine prefix in $folder:" >&2
        cat "$folder/wineboot.log" >&2
        exit 1
      fi
      touch "$folder/ready"
    fi
  ) 9>"$folder/lock"
fi
exec wine "$@"
