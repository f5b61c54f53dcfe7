#!/usr/bin/env bash
# Configures small projects that use cmake/SkedlinLibrary.cmake with one
# mistake each and checks that the configure step fails and names it:
# a misspelt link name (plain and with "::"), and a library folder without
# sources. A correct project must configure.
#   strict_configure.sh SOURCE_DIR
set -uo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# project NAME BODY: a project whose CMakeLists.txt ends with BODY.
project() {
    mkdir -p "$work/$1/lib" "$work/$1/empty"
    echo 'int answer() { return 42; }' > "$work/$1/lib/answer.cpp"
    cat > "$work/$1/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.25)
project(probe CXX)
include($source_dir/cmake/SkedlinLibrary.cmake)
skedlin_library(probe_answer \${CMAKE_CURRENT_SOURCE_DIR}/lib)
$2
skedlin_check_link_names()
CMAKE
}

expect() {  # NAME fails|configures [TEXT]
    local output status
    output=$(cmake -S "$work/$1" -B "$work/$1/build" 2>&1)
    status=$?
    if [ "$2" = fails ]; then
        if [ $status -eq 0 ] || ! grep -q "$3" <<<"$output"; then
            echo "FAIL: $1 should fail the configure step naming '$3'"; echo "$output" | tail -5; failures=$((failures + 1))
        fi
    elif [ $status -ne 0 ]; then
        echo "FAIL: $1 should configure"; echo "$output" | tail -5; failures=$((failures + 1))
    fi
}

project good 'add_executable(probe_main lib/answer.cpp)
target_link_libraries(probe_main PRIVATE probe_answer)'
expect good configures

project misspelt 'add_executable(probe_main lib/answer.cpp)
target_link_libraries(probe_main PRIVATE probe_answr)'
expect misspelt fails 'probe_main links "probe_answr"'

project namespaced 'skedlin_library(probe_more ${CMAKE_CURRENT_SOURCE_DIR}/lib LINKS Qt7::Nothing)'
expect namespaced fails 'probe_more links "Qt7::Nothing"'

project empty 'skedlin_library(probe_empty ${CMAKE_CURRENT_SOURCE_DIR}/empty)'
expect empty fails 'no .cpp source'

exit $failures
