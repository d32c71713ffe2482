# Helpers of the package checks: a throwaway root, the installed server, a curl browser.
set -euo pipefail

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The newest package in the Release tree.
find_package() {
  local dir=$1 deb
  deb=$(ls -t "$dir"/zeziza_*.deb 2>/dev/null | head -n 1 || true)
  [ -n "$deb" ] || fail "no zeziza_*.deb in $dir: run 'make package' first"
  echo "$deb"
}

work=$(mktemp -d /tmp/zeziza-package.XXXXXX)
server_pid=
cleanup() {
  if [ -n "$server_pid" ]; then kill "$server_pid" 2>/dev/null || true; wait "$server_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# An empty dpkg database under $1; dpkg then installs there and runs the maintainer scripts
# outside a chroot with DPKG_ROOT set, never touching this machine's own system.
make_root() {
  mkdir -p "$1/var/lib/dpkg/info" "$1/var/lib/dpkg/updates" "$1/var/lib/dpkg/triggers"
  touch "$1/var/lib/dpkg/status" "$1/var/lib/dpkg/available"
}
dpkg_in() {
  local root=$1
  shift
  dpkg --root="$root" --log=/dev/null --force-script-chrootless --force-not-root \
    --force-depends "$@"
}

free_port() {
  /usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'
}

# Starts the server binary $1 with the rest as options, standard input not a terminal and
# the log in $work/server.log; sets $port from the address it logs.
start_server() {
  local binary=$1
  shift
  : >"$work/server.log"  # emptied here, or the last server's address could be read
  "$binary" --port 0 "$@" </dev/null >"$work/server.out" 2>"$work/server.log" &
  server_pid=$!
  port=
  for _ in $(seq 1 200); do
    port=$(grep -o '127\.0\.0\.1:[0-9]*' "$work/server.log" 2>/dev/null | head -n 1 | cut -d: -f2 || true)
    [ -n "$port" ] && return 0
    kill -0 "$server_pid" 2>/dev/null || fail "server exited: $(cat "$work/server.log")"
    sleep 0.1
  done
  fail "server did not log its address: $(cat "$work/server.log")"
}

stop_server() {
  kill "$server_pid"
  wait "$server_pid" || true
  server_pid=
}

# A browser of curl calls: $base and $curl_options set by the caller; $page is the last answer.
hidden() {
  grep -o "name=\"$1\" id=\"$1\" value=\"[^\"]*\"" <<<"$page" | head -n 1 | sed 's/.*value="//; s/"$//'
}
browser_start() {
  page=$(curl -fsS "${curl_options[@]}" "$base/")
  page=$(curl -fsS "${curl_options[@]}" -F "IW_SessionID_=$(hidden IW_SessionID_)" \
    -F "IW_TrackID_=$(hidden IW_TrackID_)" -F IW_width=1000 -F IW_height=700 "$base/")
}
# browser_post ACTION name=value...
browser_post() {
  local action=$1
  shift
  local fields=()
  for field in "$@"; do fields+=(-F "$field"); done
  page=$(curl -fsS "${curl_options[@]}" -F "IW_SessionID_=$(hidden IW_SessionID_)" \
    -F "IW_TrackID_=$(hidden IW_TrackID_)" -F "IW_Action=$action" -F IW_ActionParam= \
    "${fields[@]}" "$base/EXEC")
}

# The first super administrator, then a failed and a good sign-in. Checks the log for both
# with name and address, and for neither password.
sign_in_journey() {
  browser_start
  grep -q 'signinbutton' <<<"$page" || fail "no sign-in page at $base"
  browser_post createadminbutton adminnameedit=principal adminpasswordedit=Secret-Pass-1 adminrepeatedit=Secret-Pass-1
  browser_post signinbutton usernameedit=principal passwordedit=Wrong-Pass-2
  grep -q '用户名或密码错误' <<<"$page" || fail "a wrong password was not refused"
  browser_post signinbutton usernameedit=principal passwordedit=Secret-Pass-1
  grep -q '用户名或密码错误' <<<"$page" && fail "the right password was refused"
  sleep 0.2
  grep -E 'signin-failed .*user=principal address=127\.0\.0\.1' "$work/server.log" >/dev/null ||
    fail "no failed sign-in in the log: $(cat "$work/server.log")"
  grep -E 'signin .*user=principal address=127\.0\.0\.1' "$work/server.log" >/dev/null ||
    fail "no sign-in in the log: $(cat "$work/server.log")"
  if grep -E 'Secret-Pass-1|Wrong-Pass-2|IW_SessionID|'"$(hidden IW_SessionID_)" "$work/server.log"; then
    fail "the log holds a password or a session id"
  fi
}
