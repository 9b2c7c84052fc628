#!/usr/bin/env bash
# Installs the build into a scratch prefix and uses it as a reader and as a developer
# would: the installed program, started twice with a scratch home on a headless X
# display, and a program built against the installed control through find_package.
#   tests/tools/Installed.sh BUILD_DIR WORK_DIR
set -euo pipefail
build=$(realpath "$1")
work=$(realpath -m "$2")
here=$(dirname "$(realpath "$0")")
rm -rf "$work"
mkdir -p "$work"
prefix=$work/prefix
home=$work/home
cmake --install "$build" --prefix "$prefix" > /dev/null
user_library=$home/.local/share/Qelvane/Qelvane/poem.mdb
shipped=$prefix/share/qelvane/data/poem.mdb

fail() { echo "FAIL: $*" >&2; exit 1; }
snapshot() { (cd "$prefix" && find . -printf '%p %s %T@\n' | sort); }

# The server takes a display no one else holds (another test may run its own) and
# writes its number once it accepts connections.
coproc XVFB { exec Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2> /dev/null; }
xvfb=$XVFB_PID
app=
cleanup() {
  [ -n "$app" ] && kill "$app" 2> /dev/null || true
  kill "$xvfb" 2> /dev/null || true
}
trap cleanup EXIT
read -r -t 60 -u "${XVFB[0]}" number || fail "Xvfb did not start"
display=:$number
xdpyinfo -display "$display" > /dev/null 2>&1 || fail "Xvfb does not answer on $display"

# Starts the installed program, waits for its main window (shown only once the library
# is loaded; a failed start reports on the error stream and in a box) and ends it.
run_program() {
  env -i PATH=/usr/bin:/bin HOME="$home" DISPLAY="$display" QT_QPA_PLATFORM=xcb \
    "$prefix/bin/qelvane" > "$work/program.log" 2>&1 &
  app=$!
  for _ in $(seq 150); do
    if xwininfo -display "$display" -root -tree 2> /dev/null | grep -q '"Qelvane 诗词库"'; then
      kill "$app"; wait "$app" 2> /dev/null || true; app=
      # The fatal report has the same title; it is written to the error stream first.
      if grep -q '^qelvane: ' "$work/program.log"; then break; fi
      return 0
    fi
    kill -0 "$app" 2> /dev/null || break
    sleep 0.2
  done
  cat "$work/program.log" >&2
  fail "the installed program showed no main window"
}

# The same library: the same size and every byte after the file's 100-byte header, whose
# bookkeeping (the journal mode, a change counter) changes when the program puts the
# file into write-ahead-log mode.
same_library() {
  [ "$(stat -c %s "$1")" = "$(stat -c %s "$2")" ] && cmp -s -i 100 "$1" "$2"
}

before=$(snapshot)
run_program
[ -f "$user_library" ] || fail "no library in the user's data folder"
same_library "$user_library" "$shipped" || fail "the user's library is not the shipped one"
[ -w "$user_library" ] || fail "the user's library is not writable"
[ "$before" = "$(snapshot)" ] || fail "something was written under the prefix"

# A second start uses the user's library as it is: a different library put there (by
# the installed builder, from the tests' small data) stays.
"$prefix/bin/qelvane-mklib" --sample "$here/../fixtures/library" --out "$user_library" --force > /dev/null 2>&1 ||
  fail "the installed qelvane-mklib could not build a library"
cp "$user_library" "$work/placed.mdb"
run_program
same_library "$user_library" "$work/placed.mdb" || fail "the second start replaced the user's library"
[ "$before" = "$(snapshot)" ] || fail "something was written under the prefix"
echo "installed program: the library copied to the user's data folder once, the prefix untouched"

# A developer's program, built against the installed files only.
cmake -S "$here/tolvarin-consumer" -B "$work/consumer" -DCMAKE_PREFIX_PATH="$prefix" > "$work/consumer.log" 2>&1 ||
  { cat "$work/consumer.log" >&2; fail "find_package(Tolvarin) failed"; }
cmake --build "$work/consumer" >> "$work/consumer.log" 2>&1 || { cat "$work/consumer.log" >&2; fail "the consumer did not build"; }
QT_QPA_PLATFORM=offscreen "$work/consumer/consumer" || fail "the consumer's button shows no caption"
