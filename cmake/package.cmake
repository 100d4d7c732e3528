# The Debian package: `cpack -G DEB` in a build tree (scripts/make-deb does
# it in a Release build) gives zondari_<version>_<arch>.deb. The libraries
# come from dpkg-shlibdeps; what the program runs besides them is listed here.

# Debian asks for a copyright file and a changelog in the package's doc folder.
configure_file(${PROJECT_SOURCE_DIR}/desktop/debian/changelog.in ${CMAKE_BINARY_DIR}/debian/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/debian/changelog.gz
  COMMAND ${ZONDARI_GZIP} -9nf -k changelog
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/debian
  DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog)
add_custom_target(zondari_debian_doc ALL DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog.gz)
install(FILES ${PROJECT_SOURCE_DIR}/desktop/debian/copyright ${CMAKE_BINARY_DIR}/debian/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zondari)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Zondari)
set(CPACK_PACKAGE_CONTACT "Zondari <info@zondari.it>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "player, catalogue and ID3v1 tags of your MP3s (Italian)")
# The extended description; CPack indents it and writes the empty line as
# Debian's " .".
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Zondari is for people who keep their music as files on disks and CDs.
It plays the tracks of a folder one after another, shows an MP3's
technical data (MPEG version and layer, bit rate, VBR header, play time)
and edits its ID3v1 tag, keeps a catalogue of music CDs and folders from
which it makes HTML pages and searches, prints CD case inserts, mixes two
tracks and sets the master volume. The media keys drive its player.

Its user interface is in Italian. zondari-cli offers the analysis, the
tags and the catalogue on the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.zondari.it/)
# The libraries the programs link (Qt, GStreamer, ALSA, blkid, TagLib for
# ID3v2, xxHash for the audio fingerprints) come in as dependencies through
# dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The opener of documents, the decoders and the sound server's sink of the
# player, and Qt's own texts in Italian.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "xdg-utils, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-pulseaudio, qt6-translations-l10n")
# WMA and other formats beyond MP3 and WAV; Wayland sessions.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-libav, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
