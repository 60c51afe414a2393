# Installation (cmake --install) and the Debian package (cpack -G DEB).
# Layout: the executables in bin/, the installation files (peltrix.ini, Docs/,
# Tutorial/) in share/peltrix, where the program looks when they are not
# beside the executable.
include(GNUInstallDirs)

if(TARGET peltrix)
  install(TARGETS peltrix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(TARGET peltrix-cli)
  install(TARGETS peltrix-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/peltrix)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/peltrix.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 48 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/icons/peltrix-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME peltrix.png)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME peltrix)
set(CPACK_PACKAGE_VENDOR "Peltrix project")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Shot group statistics from scanned targets or typed shots")
set(CPACK_PACKAGE_DESCRIPTION
  "Peltrix computes the statistics of a shot group (averages, standard deviations, ranges,\ncenter-to-center group size, group center and MOA) from shots clicked on a scanned\ntarget image or typed in, and compares groups with a T-test and an F-test.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Peltrix project")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The Qt and OpenCV libraries by name; the platform plugin and the font are
# loaded at run time, so no library scan would find them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6printsupport6 (>= 6.4), libqt6sql6 (>= 6.4), libqt6sql6-sqlite (>= 6.4), libqt6concurrent6 (>= 6.4), qt6-qpa-plugins, fonts-dejavu-core, libopencv-core406, libopencv-imgproc406, libopencv-dnn406")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-image-formats-plugins, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
