#!/bin/sh
# Runs check_html.cmake with the page loaded in headless Chromium; exits 77 (the test's
# skip code) when no chromium is installed.
#   browser_check.sh CMAKE_COMMAND -DEXE=... -DJOB=... -DDOC=... -DWORK=...
cmake_command=$1
shift
browser=$(command -v chromium || command -v chromium-browser || true)
if [ -z "$browser" ]; then
    echo "chromium not found: browser check skipped"
    exit 77
fi
exec "$cmake_command" -DBROWSER="$browser" "$@" -P "$(dirname "$0")/check_html.cmake"
