# Installing on Linux and the Debian package: the program and the replay tool
# in bin/, the data read-only in share/thalomir/ (found from bin/../share/thalomir
# whatever the prefix), the desktop entry, icons generated at build time,
# AppStream metadata, man pages and licence texts. Kept out of the browser
# build, which has no install.

set(THALOMIR_HOMEPAGE "https://thalomir.org" CACHE STRING
  "Home page named in the AppStream metadata")
set(THALOMIR_SCREENSHOTS "${THALOMIR_HOMEPAGE}/docs" CACHE STRING
  "Address of the folder holding the README's screenshots (docs/*.png)")
set(THALOMIR_RELEASE_DATE "2026-12-07")
set(THALOMIR_APP_ID org.thalomir.Thalomir)
set(dist ${PROJECT_SOURCE_DIR}/dist)
set(out ${CMAKE_BINARY_DIR}/dist)

# Icons in the game's style, every size drawn afresh.
set(THALOMIR_ICON_SIZES 16 24 32 48 64 128 256)
add_executable(make_icon ${PROJECT_SOURCE_DIR}/assets/art/make_icon.cpp)
target_link_libraries(make_icon PRIVATE thalomir_assetgen)
set_target_properties(make_icon PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/assets)
set(icons)
foreach(size ${THALOMIR_ICON_SIZES})
  list(APPEND icons ${out}/icons/${size}x${size}/thalomir.png)
endforeach()
add_custom_command(OUTPUT ${icons}
  COMMAND make_icon ${out}/icons ${THALOMIR_ICON_SIZES}
  DEPENDS make_icon
  COMMENT "Drawing the icons")

# Man pages, compressed as Debian keeps them (-n: no name or time inside).
set(manpages)
foreach(page thalomir thalomir-replay)
  configure_file(${dist}/${page}.6 ${out}/${page}.6 @ONLY)
  add_custom_command(OUTPUT ${out}/${page}.6.gz
    COMMAND gzip -9 -n -f -k ${out}/${page}.6
    DEPENDS ${out}/${page}.6 ${dist}/${page}.6)
  list(APPEND manpages ${out}/${page}.6.gz)
endforeach()
configure_file(${dist}/${THALOMIR_APP_ID}.metainfo.xml.in ${out}/${THALOMIR_APP_ID}.metainfo.xml @ONLY)
add_custom_target(thalomir_dist ALL DEPENDS ${icons} ${manpages})

install(TARGETS thalomir thalomir-replay RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${THALOMIR_DATA_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/thalomir)
install(FILES ${dist}/${THALOMIR_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${out}/${THALOMIR_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size ${THALOMIR_ICON_SIZES})
  install(FILES ${out}/icons/${size}x${size}/thalomir.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${manpages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${dist}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${PROJECT_SOURCE_DIR}/assets/licenses/DejaVu-fonts.txt
  ${PROJECT_SOURCE_DIR}/assets/licenses/Liberation-fonts.txt
  DESTINATION ${CMAKE_INSTALL_DOCDIR}/licenses)

# The Debian package: `cpack` in the build folder. Shared-library dependencies
# are worked out by dpkg-shlibdeps; only what the program opens at run time
# without linking (OpenGL and EGL through libepoxy) is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME thalomir)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Thalomir developers <dev@thalomir.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turn-based tactics game under the sea")
set(CPACK_PACKAGE_DESCRIPTION "Thalomir is a small single-player, turn-based tactics game with an \
underwater theme: divers, torpedo-men and a small submarine fight sea creatures on a 16 by 12 \
board across eight levels.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${THALOMIR_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1, libegl1")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri")
include(CPack)
