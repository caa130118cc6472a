# The Debian package, built by scripts/package.sh:
# build/chronodesk_<version>_<architecture>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME chronodesk)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR ChronoDesk)
set(CPACK_PACKAGE_CONTACT "ChronoDesk <feedback@chronodesk.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop time manager (翎鹊时间管理器)")
# The summary above is the first line; CPack indents these.
set(CPACK_PACKAGE_DESCRIPTION
    "ChronoDesk keeps a list of missions, each one action at one date and time to
the second: shut down, restart, log off, run a program, open a file, show a
message, ring, open a web page or start a mail. Around the list: mission
files, daily missions, an hourly spoken time signal, an energy estimate per
run, and a command line and session bus interface for scripts. The
interface is in Chinese.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE deb_architecture OUTPUT_STRIP_TRAILING_WHITESPACE)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${deb_architecture})
set(CPACK_DEBIAN_FILE_NAME ${CPACK_PACKAGE_NAME}_${PROJECT_VERSION}_${deb_architecture}.deb)
# The libraries the executable and the sound plugin link (Qt, among them the
# multimedia and SVG libraries that carry their plugins, and libical for repeat
# rules) are worked out by dpkg-shlibdeps, which reads the sound plugin in the
# library folder too. The
# SQLite driver of the energy records is a plugin that Qt loads at run time
# and no tool finds; xdg-open opens files and web pages, and the Chinese
# interface needs a CJK font.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, xdg-utils, fonts-noto-cjk")
# Qt's own dialogs and buttons in Chinese; the native Wayland platform for
# sessions without Xwayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, qt6-wayland")
include(CPack)
