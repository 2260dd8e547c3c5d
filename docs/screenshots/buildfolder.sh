# Sourced by the picture scripts: fail() and the build folder, the first argument or the
# default one, which scripts/run or scripts/test configures.
fail() {
    echo "$(basename "$0"): $*" >&2
    exit 1
}
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-${QVKIOSK_BUILD_DIR:-$root/build}}
[ -f "$build/CMakeCache.txt" ] \
    || fail "$build is not a configured build folder: run scripts/run first, or name the folder"
build=$(cd "$build" && pwd)
