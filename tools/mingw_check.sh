#!/usr/bin/env bash
# Compile-only check of the code above platform/win32 against MinGW-w64's real Windows headers,
# for 64-bit and 32-bit Windows: every source of the framework, the system's layers, the catalog
# library and the host, with the include paths and definitions its CMake target uses, but without
# the headless subset's headers. Syntax only, warnings are errors.
#
# usage: tools/mingw_check.sh [BUILD_DIR]
#   BUILD_DIR: a configured build (compile_commands.json), build/test by default. The results go
#   to BUILD_DIR/mingw-check/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${1:-build/test}
commands=$build/compile_commands.json
out=$root/$build/mingw-check
jobs=${JOBS:-2}

# Folders whose sources are checked.
folders=(platform/afx base catalog controls treectrl assist selection facade quarnel/src host)

# Sources that are Linux programs by nature, with the reason.
declare -A skipped=(
  [host/TuiScreen.cpp]="the terminal editor's screen, on ncurses and nl_langinfo"
  [host/TuiKeys.cpp]="the terminal editor's keys, on ncurses"
)

if [ ! -f "$commands" ]; then
  echo "mingw check: $commands is missing (configure $build first)" >&2
  exit 1
fi

# The compiler of a width, as its toolchain file names it.
compiler() { # width
  local script=$out/compiler-$1.cmake
  mkdir -p "$out"
  printf 'include("%s/cmake/toolchain-mingw%s.cmake")\nmessage("${CMAKE_CXX_COMPILER}")\n' "$root" "$1" >"$script"
  cmake -P "$script" 2>&1
}

# Headers of Debian's -dev packages that MinGW's tree lacks, each in a folder of its own so that
# /usr/include (whose C library headers clash with MinGW's) stays off the path.
rm -rf "$out/include"
mkdir -p "$out/include/pugixml" "$out/include/nlohmann_json"
ln -s /usr/include/pugixml.hpp /usr/include/pugiconfig.hpp "$out/include/pugixml/"
ln -s /usr/include/nlohmann "$out/include/nlohmann_json/nlohmann"
declare -A extra=(
  [quarnel/src]="-I$out/include/pugixml"
  [host]="-I$out/include/nlohmann_json"
)

# One response file per source: the target's -I and -D arguments less the subset's headers, the
# extra headers of its folder, and the source.
rm -rf "$out/rsp"
mkdir -p "$out/rsp"
python3 - "$commands" "$root" "$out/rsp" "${folders[@]}" <<'PY'
import json, os, shlex, sys
commands, root, rsp, folders = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
subset = os.sep + os.path.join("platform", "win32", "include")
seen = set()
for entry in json.load(open(commands)):
    source = os.path.relpath(os.path.join(entry["directory"], entry["file"]), root)
    if source in seen or not any(source.startswith(f + "/") for f in folders):
        continue
    seen.add(source)
    args = entry.get("arguments") or shlex.split(entry["command"])
    keep, i = [], 0
    while i < len(args):
        a = args[i]
        if a in ("-I", "-D", "-isystem") and i + 1 < len(args):
            a, i = a + args[i + 1], i + 1
        i += 1
        if a.startswith(("-I", "-isystem")):
            path = a[2:] if a.startswith("-I") else a[8:]
            if not os.path.normpath(path).endswith(subset):
                keep.append(a)
        elif a.startswith("-D"):
            keep.append(a)
    with open(os.path.join(rsp, source.replace("/", "__") + ".rsp"), "w") as f:
        f.write("\n".join(shlex.quote(a) for a in keep) + "\n")
PY

for source in "${!skipped[@]}"; do
  if [ ! -f "$out/rsp/${source//\//__}.rsp" ]; then
    echo "mingw check: the skipped source $source is not in the build any more" >&2
    exit 1
  fi
done

status=0
for width in 64 32; do
  cxx=$(compiler "$width")
  if ! command -v "$cxx" >/dev/null 2>&1; then
    echo "mingw check skipped: $cxx is not installed (Debian's g++-mingw-w64-*-posix; ./run test installs it as root)"
    continue
  fi
  dir=$out/$width
  rm -rf "$dir"
  mkdir -p "$dir"
  list=()
  for rsp in "$out"/rsp/*.rsp; do
    source=$(basename "$rsp" .rsp)
    source=${source//__//}
    [ -n "${skipped[$source]+set}" ] && continue
    folder=${source%/*}
    { cat "$rsp"
      [ -n "${extra[$folder]+set}" ] && echo "${extra[$folder]}"
      echo "$root/$source"
    } >"$dir/${source//\//__}.args"
    list+=("$dir/${source//\//__}.args")
  done
  # Each source's diagnostics go to its .log, a failure leaves a .failed beside it.
  printf '%s\n' "${list[@]}" | xargs -P "$jobs" -I{} sh -c \
    '"$1" -fsyntax-only -std=c++17 -Wall -Wextra -Werror "@$2" >"${2%.args}.log" 2>&1 || : >"${2%.args}.failed"' \
    sh "$cxx" {}
  failed=$(find "$dir" -name '*.failed' | sort)
  nfailed=$(printf '%s' "$failed" | grep -c . || true)
  reasons=$(for s in "${!skipped[@]}"; do echo "$s: ${skipped[$s]}"; done | sort | paste -sd ';' | sed 's/;/; /g')
  summary="mingw $width: $((${#list[@]} - nfailed)) files compiled, ${#skipped[@]} skipped ($reasons)"
  [ "$nfailed" -gt 0 ] && summary+=", $nfailed with errors or warnings"
  echo "$summary"
  if [ "$nfailed" -gt 0 ]; then
    status=1
    for f in $failed; do
      source=$(basename "$f" .failed)
      echo "mingw $width: ${source//__//} does not compile cleanly:"
      head -40 "${f%.failed}.log"
    done
  fi
done
exit "$status"
