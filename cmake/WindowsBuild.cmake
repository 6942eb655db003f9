# The Windows build, above the layers every platform shares: the pages and the
# program where Qt 6 for Windows is found, and the Qt-free tests. Qt for
# Windows is not a Debian package, so here the Qt program is not built: it is
# built on Windows itself with Qt's installer (README).

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
