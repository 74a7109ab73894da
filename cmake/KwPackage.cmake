# Install layout and the Debian package (scripts/package.sh builds it with CPack).
#
#   /usr/lib/kw9100/kw9100            the module; its message files beside it in errMSg/, where
#   /usr/lib/kw9100/errMSg/*.err      it looks for them (the directory of the running executable)
#   /usr/bin/kw9100                   -> ../lib/kw9100/kw9100
#   /usr/lib/kw9100/kw9100-settings   settings as text; beside the module for its message files
#   /usr/bin/kw9100-settings          -> ../lib/kw9100/kw9100-settings
#   /usr/bin/kw9100-sim               the simulated access point
#   /usr/share/kw9100-sim/profiles/   its profiles (found beside the executable as ../share/...)
#   /usr/share/man/man1/              kw9100(1), kw9100-settings(1), kw9100-sim(1)
#   /usr/share/doc/kw9100/            copyright, changelog
#
# The package's postinst grants the module the capability to bind the TFTP port (69).
set(KW_PKG_LIBDIR lib/kw9100)
set(KW_PKG_DOCDIR share/doc/kw9100)

install(TARGETS kw9100 kw9100-settings RUNTIME DESTINATION ${KW_PKG_LIBDIR})
foreach(program IN ITEMS kw9100 kw9100-settings)
  install(CODE "
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
    file(CREATE_LINK ../${KW_PKG_LIBDIR}/${program}
         \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/${program}\" SYMBOLIC)")
endforeach()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/app/errMSg/ DESTINATION ${KW_PKG_LIBDIR}/errMSg
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
if(TARGET kw9100-sim)
  install(TARGETS kw9100-sim RUNTIME DESTINATION bin)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/device/profiles/ DESTINATION share/kw9100-sim/profiles
          FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endif()

# Manual pages and the changelog go compressed, as Debian wants them (-n: no name or time stamp,
# so the same sources give the same package).
find_program(KW_GZIP gzip REQUIRED)
set(kw_compressed "")
foreach(source IN ITEMS docs/man/kw9100.1 docs/man/kw9100-settings.1 docs/man/kw9100-sim.1
                       cmake/package/changelog)
  get_filename_component(name ${source} NAME)
  set(out ${PROJECT_BINARY_DIR}/package/${name}.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/package
    COMMAND ${KW_GZIP} -9nc ${PROJECT_SOURCE_DIR}/${source} > ${out}
    DEPENDS ${PROJECT_SOURCE_DIR}/${source} VERBATIM)
  list(APPEND kw_compressed ${out})
endforeach()
add_custom_target(kw9100-package-docs ALL DEPENDS ${kw_compressed})
install(FILES ${PROJECT_BINARY_DIR}/package/kw9100.1.gz
              ${PROJECT_BINARY_DIR}/package/kw9100-settings.1.gz
              ${PROJECT_BINARY_DIR}/package/kw9100-sim.1.gz
        DESTINATION share/man/man1)
install(FILES ${PROJECT_BINARY_DIR}/package/changelog.gz ${PROJECT_SOURCE_DIR}/cmake/package/copyright
        DESTINATION ${KW_PKG_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kw9100)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "KW-9100 module developers <kw9100@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # kw9100_VERSION_ARCH.deb
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON) # from the libraries actually linked
# setcap, for the postinst; without it the module still runs, on an unprivileged TFTP port.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS libcap2-bin)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "management module for the KW-9100 wireless access point")
# The body under the summary line; CPack indents it and marks the blank line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"A Qt program that a network-management host starts once per KW-9100 access
point. It shows the device's front panel with live LEDs and opens one page per
configuration or status area; every page reads and writes the device through
SNMP (v1, v2c, v3 with USM), and firmware, configuration files and logs travel
by TFTP through the module's own server.

The package also holds kw9100-settings, which writes a device's settings as
text and compares devices and baselines (no window needed), and kw9100-sim, a
simulated access point on the loopback network to try the module without a
device.")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/cmake/package/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
include(CPack)
