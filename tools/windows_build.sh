#!/usr/bin/env bash
# The Windows flavour with Debian's MinGW-w64 compilers: builds the 64-bit modules, the host and
# the tests, runs each test program under Wine in one process and the host's scenarios (the same
# JSON as the headless host), then builds the 32-bit flavour (compile and link only). Checks that
# the modules exist, that the language modules hold resources and no code, and that the exported
# classes are exported. A missing tool or source skips the step with "windows build skipped:
# <reason>" and exit 0; a build, a check or a test that fails exits 1.
#
# usage: tools/windows_build.sh [BUILD_ROOT]
#   BUILD_ROOT: build/windows by default; the builds go to mingw64/ and mingw32/ in it, Debian's
#   pugixml sources to deps/, and Wine's prefix to mingw64/wineprefix/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/${1:-build/windows}
jobs=${JOBS:-2}
started=$SECONDS

skip() {
  echo "windows build skipped: $*"
  exit 0
}

# The compiler of a width, as its toolchain file names it.
compiler() { # width
  local script=$out/compiler-$1.cmake
  printf 'include("%s/cmake/toolchain-mingw%s.cmake")\nmessage("${CMAKE_CXX_COMPILER}")\n' "$root" "$1" >"$script"
  cmake -P "$script" 2>&1
}

# Debian's pugixml sources, fetched once into deps/ with apt-get source. The machine's Debian
# entries serve as source entries in a list of our own, so its apt configuration stays as it is.
pugixml_source() {
  local deps=$out/deps
  local found
  found=$(find "$deps" -maxdepth 3 -path '*/pugixml-*/src/pugixml.cpp' 2>/dev/null | head -1)
  if [ -n "$found" ]; then
    dirname "$(dirname "$found")"
    return 0
  fi
  command -v dpkg-source >/dev/null || return 1
  local apt=$deps/apt
  rm -rf "$deps"
  mkdir -p "$apt/parts" "$apt/lists/partial" "$apt/cache" "$deps/src"
  [ -f /etc/apt/sources.list.d/debian.sources ] &&
    sed -E 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources >"$apt/parts/debian.sources"
  [ -f /etc/apt/sources.list ] && sed -nE 's/^deb[[:space:]]+/deb-src /p' /etc/apt/sources.list >"$apt/sources.list"
  touch "$apt/sources.list"
  local opts=(-q -o "Dir::Etc::SourceList=$apt/sources.list" -o "Dir::Etc::SourceParts=$apt/parts"
              -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache" -o APT::Sandbox::User=root)
  apt-get "${opts[@]}" update >"$deps/apt.log" 2>&1 || return 1
  (cd "$deps/src" && apt-get "${opts[@]}" source pugixml) >>"$deps/apt.log" 2>&1 || return 1
  found=$(find "$deps/src" -maxdepth 3 -path '*/pugixml-*/src/pugixml.cpp' | head -1)
  [ -n "$found" ] || return 1
  dirname "$(dirname "$found")"
}

configure_and_build() { # width [target ...]
  local dir=$out/mingw$1
  cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw$1.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DPELORIN_PUGIXML_SOURCE="$pugixml" >"$dir.configure.log" 2>&1 ||
    { tail -30 "$dir.configure.log"; return 1; }
  local targets=()
  [ $# -gt 1 ] && targets=(--target "${@:2}")
  cmake --build "$dir" -j "$jobs" "${targets[@]}" >"$dir.build.log" 2>&1 ||
    { grep -A20 FAILED "$dir.build.log" | head -60; return 1; }
}

# The modules of a width: present, the language modules resources without code or imports, the
# exported classes and functions exported. Prints a line per module with its size.
check_modules() { # width
  local dir=$out/mingw$1/bin objdump=${2}-objdump status=0
  local module
  for module in Pelorin.dll Pelorin01.dll Pelorin49.dll Quarnel.dll libstdc++-6.dll libwinpthread-1.dll \
                quarnel_tests.exe quarnel-gen.exe win32_tests.exe selection_tests.exe assist_tests.exe; do
    if [ ! -f "$dir/$module" ]; then
      echo "windows $1: $module is missing" >&2
      status=1
    fi
  done
  [ "$status" -eq 0 ] || return 1
  local info=$out/mingw$1/modules.txt
  : >"$info"
  for module in Pelorin.dll Quarnel.dll Pelorin01.dll Pelorin49.dll; do
    "$objdump" -p "$dir/$module" >"$dir/../$module.objdump"
    local exports
    exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' "$dir/../$module.objdump" | grep -cE '^\s*\[ *[0-9]+\]' || true)
    echo "$module $(stat -c %s "$dir/$module") bytes, $exports exports" >>"$info"
  done
  local want
  for want in 8KPelorin6ShowEx 8KPelorin12GetSelection 8KPelorin16ShowXMSSelection 13KMXSSelection20SetPredefinedObjects \
              21LoadLanguageResources; do
    grep -q "$want" "$dir/../Pelorin.dll.objdump" || { echo "windows $1: Pelorin.dll does not export $want" >&2; status=1; }
  done
  for want in gQRNCreateFCatManager gQRNFCatManager gQRTGetAttrInt; do
    grep -q "$want" "$dir/../Quarnel.dll.objdump" || { echo "windows $1: Quarnel.dll does not export $want" >&2; status=1; }
  done
  for module in Pelorin01.dll Pelorin49.dll; do
    local dump=$dir/../$module.objdump
    if ! grep -q 'Resource Directory \[\.rsrc\]' "$dump" || ! grep -q 'Type Table' "$dump"; then
      echo "windows $1: $module holds no resources" >&2
      status=1
    fi
    if grep -q 'DLL Name:' "$dump" || ! grep -q 'AddressOfEntryPoint[[:space:]]*0*$' "$dump"; then
      echo "windows $1: $module is not resources only (imports or an entry point)" >&2
      status=1
    fi
  done
  sed "s/^/windows $1: /" "$info"
  return "$status"
}

# A test program in one Wine process, in a prefix of the build's own; a program with windows gets
# a virtual display of its own (Xvfb). A crash ends the program (no debugger waits for someone).
run_tests() { # program display(yes|no) [seconds]
  local dir=$out/mingw64 program=$1 display=$2 limit=${3:-900}
  export WINEPREFIX=$dir/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    timeout 300 "$wine" wineboot -i >"$dir/wineboot.log" 2>&1 || { tail -20 "$dir/wineboot.log"; return 1; }
    # Windows of their own, not handed to a window manager: Xvfb has none, and Wine would wait
    # for one each time a window hides
    timeout 120 "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$dir/wineboot.log" 2>&1 ||
      { tail -20 "$dir/wineboot.log"; return 1; }
  fi
  local log=$dir/${program%.exe}.log status=0 runner=()
  if [ "$display" = yes ]; then
    if ! command -v xvfb-run >/dev/null; then
      echo "windows 64: $program not run: xvfb-run is not installed (Debian's xvfb; ./run test installs it as root)"
      return 0
    fi
    runner=(xvfb-run -a -s "-screen 0 1920x1080x24")
  fi
  (cd "$dir/bin" && timeout "$limit" "${runner[@]}" "$wine" "$program") >"$log" 2>&1 || status=$?
  "$wineserver" -k >/dev/null 2>&1 || true
  local ran passed skipped failed
  ran=$(sed -nE 's/^\[==========\] ([0-9]+) tests? from .* ran\..*/\1/p' "$log")
  passed=$(sed -nE 's/^\[  PASSED  \] ([0-9]+) tests?\./\1/p' "$log")
  skipped=$(sed -nE 's/^\[  SKIPPED \] ([0-9]+) tests?, listed below:/\1/p' "$log")
  failed=$(sed -nE 's/^\[  FAILED  \] ([0-9]+) tests?, listed below:/\1/p' "$log")
  echo "windows 64: $program under wine64: ${ran:-?} tests ran, ${passed:-0} passed," \
       "${skipped:-0} skipped, ${failed:-0} failed (exit code $status, log $log)"
  if [ "$status" -ne 0 ] || [ -z "$ran" ]; then
    grep -m1 -E '^wine: Unhandled' "$log" | sed 's/^/windows 64:   crashed: /' || true
    grep -B2 -A15 -E '^\[ +FAILED +\]|Failure$' "$log" | head -80
    return 1
  fi
}

# The host's scripted scenarios: the Windows host under Wine must print what the headless host
# prints (HEADLESS_HOST, by default the test build's).
host_scenarios() {
  local dir=$out/mingw64 headless=${HEADLESS_HOST:-$root/build/test/bin/pelorin-host}
  local scenarios=$root/tests/host/scenarios.batch
  if [ ! -x "$headless" ]; then
    echo "windows 64: host scenarios not compared: no headless host at $headless"
    return 0
  fi
  "$headless" batch "$scenarios" >"$dir/scenarios.headless.json" 2>"$dir/scenarios.headless.log" ||
    { cat "$dir/scenarios.headless.log"; return 1; }
  (cd "$dir/bin" && timeout 300 xvfb-run -a -s "-screen 0 1920x1080x24" "$wine" pelorin-host.exe batch "$scenarios") \
    2>"$dir/scenarios.log" | tr -d '\r' >"$dir/scenarios.windows.json" || true
  "$wineserver" -k >/dev/null 2>&1 || true
  local count
  count=$(grep -cvE '^[[:space:]]*(#|$)' "$scenarios")
  if ! diff -u "$dir/scenarios.headless.json" "$dir/scenarios.windows.json" >"$dir/scenarios.diff"; then
    echo "windows 64: host scenarios under wine64: the JSON differs from the headless host's:"
    head -60 "$dir/scenarios.diff"
    tail -5 "$dir/scenarios.log"
    return 1
  fi
  echo "windows 64: host scenarios under wine64: $count commands, the same JSON as the headless host (at $((SECONDS - started)) s)"
}

mkdir -p "$out"
cxx64=$(compiler 64)
cxx32=$(compiler 32)
command -v "$cxx64" >/dev/null 2>&1 ||
  skip "$cxx64 is not installed (Debian's g++-mingw-w64-x86-64-posix; ./run test installs it as root)"
command -v x86_64-w64-mingw32-windres >/dev/null 2>&1 || skip "x86_64-w64-mingw32-windres is not installed"
[ -d /usr/src/googletest/googletest ] || skip "GoogleTest's sources are missing (Debian's googletest)"
pugixml=$(pugixml_source) || skip "Debian's pugixml sources could not be fetched (apt-get source pugixml, see $out/deps/apt.log)"

wine=$(command -v wine64 || true)
[ -n "$wine" ] || { [ -x /usr/lib/wine/wine64 ] && wine=/usr/lib/wine/wine64; } || true
wineserver=$(command -v wineserver64 || command -v wineserver || echo /usr/lib/wine/wineserver64)

configure_and_build 64
echo "windows 64: built in $out/mingw64/bin with $cxx64 (pugixml from $pugixml) at $((SECONDS - started)) s"
check_modules 64 x86_64-w64-mingw32
if [ -n "$wine" ]; then
  run_tests quarnel_tests.exe no
  run_tests win32_tests.exe yes
  for program in base catalog controls afx; do
    run_tests ${program}_tests.exe yes 240
  done
  for program in treectrl selection assist facade; do
    run_tests ${program}_tests.exe yes 360
  done
  host_scenarios
else
  echo "windows 64: tests not run: wine64 is not installed (Debian's wine64; ./run test installs it as root)"
fi

if command -v "$cxx32" >/dev/null 2>&1; then
  # the modules and the programs that are checked; the rest only runs in the 64-bit flavour
  configure_and_build 32 mingw_runtime Pelorin Quarnel Pelorin01 Pelorin49 quarnel_tests quarnel-gen win32_tests \
    selection_tests assist_tests
  echo "windows 32: built in $out/mingw32/bin with $cxx32 (not run) at $((SECONDS - started)) s"
  check_modules 32 i686-w64-mingw32
else
  echo "windows 32: skipped: $cxx32 is not installed (Debian's g++-mingw-w64-i686-posix)"
fi
echo "windows build: done in $((SECONDS - started)) s"
