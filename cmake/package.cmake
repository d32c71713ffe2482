# The Debian package, from the same configured tree: `cmake --build build/release --target
# package`. The service's files live in packaging/.
set(ZEZIZA_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)
set(ZEZIZA_UNIT_DIR /lib/systemd/system)  # Debian 12's place for packaged units

install(TARGETS zeziza RUNTIME DESTINATION bin)
install(FILES ${ZEZIZA_PACKAGING}/zeziza.service DESTINATION ${ZEZIZA_UNIT_DIR})
# Only root reads the options: they may hold the cloud password (systemd reads them as root).
install(FILES ${ZEZIZA_PACKAGING}/default-zeziza DESTINATION /etc/default RENAME zeziza
        PERMISSIONS OWNER_READ OWNER_WRITE)
set(ZEZIZA_CONFFILES "/etc/default/zeziza\n")
if(TARGET zeziza-results)
  install(TARGETS zeziza-results RUNTIME DESTINATION bin)
  install(FILES ${ZEZIZA_PACKAGING}/zeziza-results.service DESTINATION ${ZEZIZA_UNIT_DIR})
  install(FILES ${ZEZIZA_PACKAGING}/default-zeziza-results DESTINATION /etc/default
          RENAME zeziza-results PERMISSIONS OWNER_READ OWNER_WRITE)
  string(APPEND ZEZIZA_CONFFILES "/etc/default/zeziza-results\n")
endif()
# Debian wants the changelog compressed, and reproducibly (no name or time in the gzip header).
set(ZEZIZA_CHANGELOG ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${ZEZIZA_CHANGELOG}
                   COMMAND gzip -9nc ${ZEZIZA_PACKAGING}/changelog > ${ZEZIZA_CHANGELOG}
                   DEPENDS ${ZEZIZA_PACKAGING}/changelog)
add_custom_target(zeziza_changelog ALL DEPENDS ${ZEZIZA_CHANGELOG})
install(FILES README.md ${ZEZIZA_PACKAGING}/copyright ${ZEZIZA_CHANGELOG}
        DESTINATION share/doc/zeziza)
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/packaging/conffiles "${ZEZIZA_CONFFILES}")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zeziza)
set(CPACK_PACKAGE_VERSION 8.0.0)
set(CPACK_PACKAGE_CONTACT "Zeziza <admin@zeziza.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "school exam-score management server")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "One server program run by the school office; teachers and clerks work\n"
       "in browsers on the school network. Runs as the systemd service zeziza\n"
       "under its own user, with its data in /var/lib/zeziza and its options\n"
       "in /etc/default/zeziza.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS adduser)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${ZEZIZA_PACKAGING}/postinst ${ZEZIZA_PACKAGING}/prerm ${ZEZIZA_PACKAGING}/postrm
    ${CMAKE_CURRENT_BINARY_DIR}/packaging/conffiles)
include(CPack)
