#!/bin/sh
# `make run` starts the program from its program folder, never from the build tree, so that neither
# `make clean` nor a new build touches the user's data. Read from make's dry run.
set -eu
src=$1
plan=$(HOME=/home/jana make -n -C "$src" run BUILD=/tmp/build-of-run-test)
fail() { echo "$1"; echo "$plan"; exit 1; }
echo "$plan" | grep -q 'install -m 755 /tmp/build-of-run-test/src/logbook/Vozopis "/home/jana/Vozopis/Vozopis"' ||
    fail "the program is not copied into the program folder"
started=$(echo "$plan" | grep -c '"/home/jana/Vozopis/Vozopis";') || true
[ "$started" -eq 2 ] || fail "the program is not started from the program folder, with and without a display"
echo "$plan" | grep -v '^install ' | grep -q 'build-of-run-test/src/logbook/Vozopis' &&
    fail "the program is started inside the build tree"
plan=$(make -n -C "$src" run PROGRAM_DIR=/srv/kniha BUILD=/tmp/build-of-run-test)
echo "$plan" | grep -q '"/srv/kniha/Vozopis";' || fail "PROGRAM_DIR does not choose the folder"
