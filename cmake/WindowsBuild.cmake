# The Windows build: the layers below the pages, stampa-cli, the stand-ins and
# the Qt-free tests; the pages and the program too where Qt 6 for Windows is
# found. Qt for Windows is not a Debian package, so here the Qt program is not
# built: it is built on Windows itself with Qt's installer (README).

if(CMAKE_CROSSCOMPILING)
    # CLI11 is header-only: Debian's headers, without the rest of the build
    # machine's /usr/include (whose C library headers are not Windows').
    set(STAMPA_CLI11_ROOT ${CMAKE_BINARY_DIR}/include/cli11)
    if(NOT EXISTS ${STAMPA_CLI11_ROOT}/CLI)
        file(MAKE_DIRECTORY ${STAMPA_CLI11_ROOT})
        file(CREATE_LINK /usr/include/CLI ${STAMPA_CLI11_ROOT}/CLI SYMBOLIC)
    endif()
    add_library(CLI11::CLI11 INTERFACE IMPORTED)
    target_include_directories(CLI11::CLI11 INTERFACE ${STAMPA_CLI11_ROOT})
else()
    find_package(CLI11 REQUIRED)
endif()

add_subdirectory(common)
add_subdirectory(logos)
add_subdirectory(link)
add_subdirectory(pixmelt)
add_subdirectory(transfer)
add_subdirectory(workflows)
add_subdirectory(cli)
add_subdirectory(standins)

find_package(Qt6 QUIET COMPONENTS Widgets)
if(Qt6_FOUND)
    add_subdirectory(pages)
    add_subdirectory(app)
endif()

if(STAMPA_BUILD_TESTS)
    if(CMAKE_CROSSCOMPILING)
        # GoogleTest from Debian's sources, built with the cross compiler.
        set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
        set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
        add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
        set(STAMPA_GTEST_MAIN gtest_main)
    else()
        find_package(GTest REQUIRED)
        set(STAMPA_GTEST_MAIN GTest::gtest_main)
    endif()
    add_subdirectory(tests/windows)
endif()
