# Installing Stampa and the Debian package (make package): the programs in
# PREFIX/bin, Pixmelt and the stand-in libraries in PREFIX/lib/stampa, the
# desktop entry, icons, AppStream metainfo, man pages, bash completion, the
# udev rule for USB printers and the licenses.
set(STAMPA_PACKAGE_FILES ${CMAKE_BINARY_DIR}/package-files)
set(STAMPA_LINUX_FILES ${PROJECT_SOURCE_DIR}/packaging/linux)

# The release's date and the revision, from the last commit.
execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                OUTPUT_VARIABLE STAMPA_RELEASE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT STAMPA_RELEASE_EPOCH)
    string(TIMESTAMP STAMPA_RELEASE_EPOCH "%s" UTC)
endif()
set(ENV{SOURCE_DATE_EPOCH} ${STAMPA_RELEASE_EPOCH})
string(TIMESTAMP STAMPA_RELEASE_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP STAMPA_RELEASE_RFC2822 "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${STAMPA_LINUX_FILES}/org.stampa.Stampa.metainfo.xml.in
               ${STAMPA_PACKAGE_FILES}/org.stampa.Stampa.metainfo.xml @ONLY)
configure_file(${STAMPA_LINUX_FILES}/changelog.in ${STAMPA_PACKAGE_FILES}/changelog @ONLY)
configure_file(${STAMPA_LINUX_FILES}/copyright.in ${STAMPA_PACKAGE_FILES}/copyright.head @ONLY)

# What is made from the built programs and the sources: the man pages (from
# the programs' help), the PNG icons (from the SVG), the compressed changelog,
# the copyright file and the license texts. Not part of every build.
set(STAMPA_ICON_SIZES 16 24 32 48 64 128 256)
set(icons)
foreach(size ${STAMPA_ICON_SIZES})
    set(png ${STAMPA_PACKAGE_FILES}/icons/${size}x${size}/apps/stampa.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${STAMPA_PACKAGE_FILES}/icons/${size}x${size}/apps
        COMMAND rsvg-convert -w ${size} -h ${size} ${STAMPA_LINUX_FILES}/stampa.svg -o ${png}
        DEPENDS ${STAMPA_LINUX_FILES}/stampa.svg VERBATIM)
    list(APPEND icons ${png})
endforeach()
add_custom_command(OUTPUT ${STAMPA_PACKAGE_FILES}/man/man1/stampa-cli.1.gz
    COMMAND ${PROJECT_SOURCE_DIR}/packaging/man/make-man-pages.sh ${CMAKE_BINARY_DIR}/bin
            ${STAMPA_PACKAGE_FILES}/man
    DEPENDS stampa stampa-cli stampa-vprinter ${PROJECT_SOURCE_DIR}/packaging/man/make-man-pages.sh
            ${PROJECT_SOURCE_DIR}/packaging/man/command-help.py
            ${PROJECT_SOURCE_DIR}/packaging/man/zh-headings.sh
    VERBATIM)
add_custom_command(OUTPUT ${STAMPA_PACKAGE_FILES}/changelog.gz
    COMMAND gzip -9nkf ${STAMPA_PACKAGE_FILES}/changelog
    DEPENDS ${STAMPA_PACKAGE_FILES}/changelog VERBATIM)
add_custom_command(OUTPUT ${STAMPA_PACKAGE_FILES}/copyright
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/collect-licenses.sh ${STAMPA_PACKAGE_FILES}/licenses
    COMMAND sh -c "cat copyright.head ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/packaging/THIRD-PARTY-NOTICES.txt > copyright"
    WORKING_DIRECTORY ${STAMPA_PACKAGE_FILES}
    DEPENDS ${STAMPA_PACKAGE_FILES}/copyright.head ${PROJECT_SOURCE_DIR}/LICENSE
            ${PROJECT_SOURCE_DIR}/packaging/THIRD-PARTY-NOTICES.txt
            ${PROJECT_SOURCE_DIR}/scripts/collect-licenses.sh
    VERBATIM)
add_custom_target(package-files
    DEPENDS ${icons} ${STAMPA_PACKAGE_FILES}/man/man1/stampa-cli.1.gz
            ${STAMPA_PACKAGE_FILES}/changelog.gz ${STAMPA_PACKAGE_FILES}/copyright)

install(TARGETS stampa stampa-cli stampa-vprinter RUNTIME DESTINATION bin)
# Loaded by name with dlopen, never linked: plain files, not executable.
install(TARGETS pixmelt QzUsbInt DLPortIO LIBRARY DESTINATION ${STAMPA_PRIVATE_LIBDIR}
        PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
install(FILES ${STAMPA_LINUX_FILES}/org.stampa.Stampa.desktop DESTINATION share/applications)
install(FILES ${STAMPA_PACKAGE_FILES}/org.stampa.Stampa.metainfo.xml DESTINATION share/metainfo)
install(FILES ${STAMPA_LINUX_FILES}/stampa.svg DESTINATION share/icons/hicolor/scalable/apps)
install(DIRECTORY ${STAMPA_PACKAGE_FILES}/icons/ DESTINATION share/icons/hicolor)
install(DIRECTORY ${STAMPA_PACKAGE_FILES}/man/ DESTINATION share/man)
install(FILES ${STAMPA_LINUX_FILES}/stampa-cli.bash-completion
        DESTINATION share/bash-completion/completions RENAME stampa-cli)
install(FILES ${STAMPA_LINUX_FILES}/60-stampa-printers.rules DESTINATION lib/udev/rules.d)
install(FILES ${STAMPA_PACKAGE_FILES}/changelog.gz ${STAMPA_PACKAGE_FILES}/copyright
        DESTINATION share/doc/stampa)
install(DIRECTORY ${STAMPA_PACKAGE_FILES}/licenses DESTINATION share/doc/stampa)
# A Stampa.ini to start from, with the models the program offers by default.
install(FILES ${PROJECT_SOURCE_DIR}/data/Stampa.ini DESTINATION share/doc/stampa/examples)

# The package: its dependencies found from the programs' libraries
# (dpkg-shlibdeps; Qt's X11 and offscreen platform plugins come with libqt6gui6).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME stampa)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Stampa developers")
set(CPACK_PACKAGE_CONTACT "The Stampa developers <developers@stampa.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Our maintainer scripts (the udev rule); they also keep CPack from adding
# ldconfig calls, which the private library folder does not need.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${STAMPA_LINUX_FILES}/postinst ${STAMPA_LINUX_FILES}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-wqy-microhei | fonts-noto-cjk, fonts-dejavu-core, qt6-translations-l10n, bash-completion")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "load logos into ESC/POS receipt printers
Stampa picks pictures (BMP, PNG, JPEG, GIF), converts them to black and
white, downloads them into a receipt printer's FLASH, RAM or NV graphics and
prints the stored logos at four sizes, over a serial or parallel port, USB,
the print spooler or the network.
.
The package holds the program stampa, stampa-cli (the same jobs from a shell,
for one printer or a fleet, with JSON output for scripts) and stampa-vprinter,
a virtual receipt printer. Version ${PROJECT_VERSION}, revision ${STAMPA_REVISION}.")
include(CPack)
