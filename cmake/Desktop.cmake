# Desktop integration: the desktop entry, the AppStream metainfo, the icon and the manual
# page, installed beside the program under the freedesktop names made from the application
# id x_vnd.Vesk.dorva (the signature "application/x-vnd.Vesk-dorva" as a D-Bus name).
include(GNUInstallDirs)

set(DORVA_APP_ID x_vnd.Vesk.dorva)
# AppStream wants the domain part of a component id in lower case.
string(TOLOWER ${DORVA_APP_ID} DORVA_COMPONENT_ID)
set(DORVA_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/desktop)
set(DORVA_DESKTOP_FILE ${DORVA_DESKTOP_DIR}/${DORVA_APP_ID}.desktop)
set(DORVA_METAINFO_FILE ${DORVA_DESKTOP_DIR}/${DORVA_COMPONENT_ID}.metainfo.xml)
set(DORVA_ICON_SIZES 16 32 48 64 128 256)

# The manual page names the companion tools that this build has.
set(DORVA_VERSION ${PROJECT_VERSION})
set(DORVA_SEE_ALSO "")
if(TARGET dorva-send)
	set(DORVA_SEE_ALSO ".SH \"SEE ALSO\"\n.BR dorva-send (1)")
endif()
configure_file(${PROJECT_SOURCE_DIR}/docs/dorva.1.in ${PROJECT_BINARY_DIR}/man/dorva.1 @ONLY)
find_program(GZIP_PROGRAM gzip REQUIRED)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/man/dorva.1.gz
	COMMAND ${GZIP_PROGRAM} -9 -n -c ${PROJECT_BINARY_DIR}/man/dorva.1 > ${PROJECT_BINARY_DIR}/man/dorva.1.gz
	DEPENDS ${PROJECT_BINARY_DIR}/man/dorva.1
	COMMENT "Compressing the manual page"
	VERBATIM)
add_custom_target(dorva-manual ALL DEPENDS ${PROJECT_BINARY_DIR}/man/dorva.1.gz)

install(FILES ${DORVA_DESKTOP_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${DORVA_METAINFO_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${DORVA_DESKTOP_DIR}/icons/${DORVA_APP_ID}.svg
	DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size ${DORVA_ICON_SIZES})
	install(FILES ${DORVA_DESKTOP_DIR}/icons/${size}x${size}/${DORVA_APP_ID}.png
		DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${PROJECT_BINARY_DIR}/man/dorva.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(DORVA_BUILD_TESTS)
	# Both validators, and the manual page through groff's warnings; skipped (77) when the
	# tools are not installed.
	add_test(NAME desktop_files_validate
		COMMAND ${PROJECT_SOURCE_DIR}/tests/desktop/validate.sh
			${DORVA_DESKTOP_FILE} ${DORVA_METAINFO_FILE} ${PROJECT_BINARY_DIR}/man/dorva.1)
	set_tests_properties(desktop_files_validate PROPERTIES SKIP_RETURN_CODE 77)
	# What `cmake --install` puts where, in a scratch prefix.
	add_test(NAME desktop_install_tree
		COMMAND ${PROJECT_SOURCE_DIR}/tests/desktop/install_tree.sh ${PROJECT_BINARY_DIR})
	set_tests_properties(desktop_install_tree PROPERTIES SKIP_RETURN_CODE 77)
endif()
