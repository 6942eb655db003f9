# Each top folder is one layer of the program. Its headers are included as
# "folder/file.h", but only by the targets that link a library of that folder:
# a library exposes an include root that holds a link to its own folder alone,
# so a header of a folder a target does not link is not found.

# stampa_expose_folder(TARGET [FOLDER])
# Makes "FOLDER/..." includable by TARGET and everything that links it.
# FOLDER defaults to the top folder of the current source directory.
function(stampa_expose_folder target)
    if(ARGC GREATER 1)
        set(folder ${ARGV1})
    else()
        file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
        string(REGEX REPLACE "/.*" "" folder "${relative}")
    endif()
    set(root ${CMAKE_BINARY_DIR}/include/${folder})
    if(NOT EXISTS ${root}/${folder})
        file(MAKE_DIRECTORY ${root})
        file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
    endif()
    target_include_directories(${target} PUBLIC ${root})
endfunction()

# stampa_debian_headers(VARIABLE ENTRY)
# For the Windows cross build: a folder holding a link to /usr/include/ENTRY
# alone (a header-only library from Debian), without the rest of the build
# machine's /usr/include, whose C library headers are not Windows'. Its path
# goes to VARIABLE.
function(stampa_debian_headers variable entry)
    string(REGEX REPLACE "[^A-Za-z0-9]" "_" name "${entry}")
    set(root ${CMAKE_BINARY_DIR}/include/debian-${name})
    if(NOT EXISTS ${root}/${entry})
        file(MAKE_DIRECTORY ${root})
        file(CREATE_LINK /usr/include/${entry} ${root}/${entry} SYMBOLIC)
    endif()
    set(${variable} ${root} PARENT_SCOPE)
endfunction()
