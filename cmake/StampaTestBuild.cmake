# How the test programs are compiled, on Linux and for Windows alike.

# Line tables only: a failure names its file and line, a backtrace its
# functions, and full debug information would double the tests' build time.
function(stampa_test_line_tables name)
    target_compile_options(${name} PRIVATE $<$<CONFIG:RelWithDebInfo,Debug>:-g1>)
endfunction()

# The headers every file of a suite of many test files includes, compiled
# once for the suite instead of once per file. (Qt's widget headers make a
# precompiled header too large to pay off.)
function(stampa_test_precompile name)
    target_precompile_headers(${name} PRIVATE
        <gtest/gtest.h> <filesystem> <fstream> <functional> <map> <mutex> <optional> <string> <vector>)
endfunction()
