# Files for the desktop and the distribution (manual pages, bash completion,
# AppStream metadata, copyright and changelog) and the Debian package
# (make package -> lunvelde_<version>_amd64.deb). Included from the top
# CMakeLists.txt after the program's own install rules.

set(pkg_out ${CMAKE_BINARY_DIR}/packaging)
set(pkg_doc ${CMAKE_INSTALL_DATADIR}/doc/lunvelde)

# Manual pages and the changelog carry the project version; installed
# compressed with gzip -9n (no name, no time stamp: the same bytes each build).
configure_file(docs/man/lunvelde.1 ${pkg_out}/lunvelde.1 @ONLY)
configure_file(docs/man/lunvelde-table.1 ${pkg_out}/lunvelde-table.1 @ONLY)
file(WRITE ${pkg_out}/lunvelde-launch.1 ".so man1/lunvelde.1\n")
configure_file(packaging/changelog.in ${pkg_out}/changelog @ONLY)
configure_file(resources/${LUNVELDE_APP_ID}.metainfo.xml ${pkg_out}/${LUNVELDE_APP_ID}.metainfo.xml @ONLY)
set(pkg_gz)
foreach(f lunvelde.1 lunvelde-table.1 lunvelde-launch.1 changelog)
  add_custom_command(OUTPUT ${pkg_out}/${f}.gz
    COMMAND gzip -9n -c ${pkg_out}/${f} > ${pkg_out}/${f}.gz
    DEPENDS ${pkg_out}/${f} VERBATIM)
  list(APPEND pkg_gz ${pkg_out}/${f}.gz)
endforeach()
add_custom_target(distfiles ALL DEPENDS ${pkg_gz})

install(FILES ${pkg_out}/lunvelde-table.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES resources/completion/lunvelde-table
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
install(FILES packaging/copyright ${pkg_out}/changelog.gz DESTINATION ${pkg_doc})
if(LUNVELDE_GUI)
  # The program names its desktop entry, so that compositors match its windows.
  install(FILES ${pkg_out}/lunvelde.1.gz ${pkg_out}/lunvelde-launch.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${pkg_out}/${LUNVELDE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  # The sample site list is Shift-JIS with CR LF by its format.
  install(FILES packaging/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME lunvelde)
endif()

# ---------------------------------------------------------------------------
# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lunvelde)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Lunvelde developers")
set(CPACK_PACKAGE_CONTACT "Lunvelde developers <lunvelde@users.noreply.github.com>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "sun and moon rise and set times, moon age and phase")
# CPack puts the summary first and indents these lines.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "A small Japanese-language desktop program. For one date and one
observation site it shows the times of sunrise and sunset, moonrise and
moonset, the moon age and a picture of the moon's phase. It keeps a list
of sites in a plain text file and shows a month table that copies to the
clipboard. A details window gives the rise, transit and set of the sun and
the moon with directions and altitudes, the twilights and
the principal moon phases of the month.

The command lunvelde-table prints the month table as text.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/lunvelde/lunvelde)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Fonts are found by face name at run time: not seen by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
