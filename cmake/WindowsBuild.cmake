# The Windows build: the layers below the pages, stampa-cli, the stand-ins and
# the Qt-free tests. Qt for Windows is not a Debian package, so the Qt program
# is built on Windows itself (README).

# CLI11 is header-only: its headers, without the rest of the build machine's
# /usr/include (whose C library headers are not Windows').
set(STAMPA_CLI11_ROOT ${CMAKE_BINARY_DIR}/include/cli11)
if(NOT EXISTS ${STAMPA_CLI11_ROOT}/CLI)
    file(MAKE_DIRECTORY ${STAMPA_CLI11_ROOT})
    file(CREATE_LINK /usr/include/CLI ${STAMPA_CLI11_ROOT}/CLI SYMBOLIC)
endif()
add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 INTERFACE ${STAMPA_CLI11_ROOT})

add_subdirectory(common)
add_subdirectory(logos)
add_subdirectory(link)
add_subdirectory(pixmelt)
add_subdirectory(transfer)
add_subdirectory(workflows)
add_subdirectory(cli)
add_subdirectory(standins)

if(STAMPA_BUILD_TESTS)
    # GoogleTest from Debian's sources, built with the cross compiler.
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    add_subdirectory(tests/windows)
endif()
