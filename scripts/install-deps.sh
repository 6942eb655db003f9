#!/usr/bin/env bash
# Installs every Debian package Stampa needs to build, test and run.
# Idempotent: does nothing when all of them are present already.
set -euo pipefail

PACKAGES=(
    # build
    g++ make cmake ninja-build pkg-config
    # libraries: Qt 6 (the program window; QtGui renders the virtual printer's
    # receipts), CLI11 (command lines), inih (Stampa.ini)
    qt6-base-dev libcli11-dev libinih-dev
    # xxHash (header-only use): the digest of each NV definition sent;
    # nlohmann-json (header-only): the printer profiles
    libxxhash-dev nlohmann-json3-dev
    # stb (header-only): stb_image_resize scales logos down to the paper's
    # width, stb_image decodes PNG, JPEG and GIF pictures (the tests write theirs
    # with stb_image_write and zlib's CRC)
    libstb-dev zlib1g-dev
    # libjpeg-turbo: JPEG pictures
    libjpeg62-turbo-dev
    # Qt's own translations, so its dialogs and buttons speak the program's language
    qt6-translations-l10n
    # the print spooler: libcups for the spooler link; a daemon, its tools and
    # the socket backend for the tests' private cupsd
    libcups2-dev cups-daemon cups-client cups
    # fonts: a monospace font for receipt text, and one for the program's Chinese texts
    fonts-dejavu-core fonts-wqy-microhei
    # scripts; bash completion (stampa-cli's completion is tested)
    python3 bash-completion
    # tests and benchmarks; clang and its runtime for the libFuzzer targets
    googletest libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
)

# `--windows`: also the cross compiler and Wine, for make windows / test-windows.
if [ "${1:-}" = "--windows" ]; then
    PACKAGES+=(mingw-w64 wine64)
fi
# `--package`: what makes and checks the Debian package (make package /
# test-package): man pages from --help (help2man, and the zh_CN locale its
# Chinese headings need), PNG icons from the SVG, the dependency list
# (dpkg-shlibdeps, file), lintian and the desktop and AppStream validators, man.
if [ "${1:-}" = "--package" ]; then
    PACKAGES+=(help2man locales librsvg2-bin dpkg-dev file lintian desktop-file-utils appstream man-db)
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi

missing=()
for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "install-deps: all ${#PACKAGES[@]} packages present"
else
    echo "install-deps: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -q
    $SUDO apt-get install -y --no-install-recommends "${PACKAGES[@]}"
fi

if [ "${1:-}" = "--package" ] && ! locale -a | grep -qix 'zh_CN.utf-\?8'; then
    echo "install-deps: making the zh_CN.UTF-8 locale"
    $SUDO localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
