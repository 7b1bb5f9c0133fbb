#!/bin/sh
# Starts a private session bus and an unlocked GNOME Keyring on it, with every file under DIR,
# so Secret Service tests never touch the user's own keyring.
# Usage: start-private-keyring.sh DIR
# Writes DIR/env with DBUS_SESSION_BUS_ADDRESS and DBUS_PID; exits 1 (with the reason on
# stderr) when the bus or the keyring cannot start. The keyring quits when the bus is killed.
set -eu
dir=$1
mkdir -p "$dir/runtime" "$dir/data" "$dir/config"
chmod 700 "$dir/runtime"
export XDG_RUNTIME_DIR="$dir/runtime" XDG_DATA_HOME="$dir/data" XDG_CONFIG_HOME="$dir/config" HOME="$dir"

command -v dbus-daemon >/dev/null || { echo "dbus-daemon is not installed" >&2; exit 1; }
command -v gnome-keyring-daemon >/dev/null || { echo "gnome-keyring-daemon is not installed" >&2; exit 1; }

bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1) || { echo "no session bus" >&2; exit 1; }
address=$(echo "$bus" | sed -n 1p)
pid=$(echo "$bus" | sed -n 2p)
export DBUS_SESSION_BUS_ADDRESS="$address"

# --unlock reads the new login keyring's password from standard input.
printf 'tessellar-test' | gnome-keyring-daemon --unlock --components=secrets --daemonize >"$dir/keyring.env" 2>"$dir/keyring.log" || {
  kill "$pid" 2>/dev/null
  echo "gnome-keyring-daemon did not start: $(cat "$dir/keyring.log")" >&2
  exit 1
}
printf 'DBUS_SESSION_BUS_ADDRESS=%s\nDBUS_PID=%s\n' "$address" "$pid" >"$dir/env"
