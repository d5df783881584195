#!/usr/bin/env bash
# Installs what is missing, builds Corvane for the browser in build-web/ and
# serves the page on this machine only.
#   web.sh [--port N]   build, then serve on 127.0.0.1:N (8000 unless given)
#   web.sh --build      only build, then print the site folder
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-web"
site="$build/site"

usage() {
  echo "usage: web.sh [--build] [--port N]" >&2
  exit 2
}

build_only=false
port=8000
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build_only=true ;;
    --port) [ $# -ge 2 ] || usage; port="$2"; shift ;;
    *) usage ;;
  esac
  shift
done
if ! [[ "$port" =~ ^[0-9]{1,5}$ ]] || [ "$port" -lt 1 ] || [ "$port" -gt 65535 ]; then
  echo "web.sh: --port takes a number from 1 to 65535, not '$port'" >&2
  exit 2
fi

"$root/scripts/setup.sh" web
# Debian's Emscripten looks for its optimizer's JavaScript parser (node-acorn) here.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)"
for file in index.html corvane.js corvane.wasm corvane.data; do
  if [ ! -f "$site/$file" ]; then
    echo "web.sh: the build made no $site/$file" >&2
    exit 1
  fi
done

if [ "$build_only" = true ]; then
  echo "$site"
  exit 0
fi
if ! python3 -c 'import socket, sys; socket.socket().bind(("127.0.0.1", int(sys.argv[1])))' "$port" 2>/dev/null; then
  echo "web.sh: port $port on 127.0.0.1 is taken; choose another with --port N" >&2
  exit 1
fi
echo "Corvane is served at http://127.0.0.1:$port/ (Ctrl+C stops the server)"
exec python3 -m http.server --bind 127.0.0.1 --directory "$site" "$port"
