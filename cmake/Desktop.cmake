# Desktop integration: the desktop entry, the AppStream metainfo, the icon and the manual
# pages, installed beside the program under the freedesktop names made from the application
# id x_vnd.Vesk.dorva (the signature "application/x-vnd.Vesk-dorva" as a D-Bus name).
include(GNUInstallDirs)

set(DORVA_APP_ID x_vnd.Vesk.dorva)
# AppStream wants the domain part of a component id in lower case.
string(TOLOWER ${DORVA_APP_ID} DORVA_COMPONENT_ID)
set(DORVA_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/desktop)
set(DORVA_DESKTOP_FILE ${DORVA_DESKTOP_DIR}/${DORVA_APP_ID}.desktop)
set(DORVA_METAINFO_FILE ${DORVA_DESKTOP_DIR}/${DORVA_COMPONENT_ID}.metainfo.xml)
set(DORVA_ICON_SIZES 16 32 48 64 128 256)

# The manual pages: dorva's names the companion tools that this build has.
set(DORVA_VERSION ${PROJECT_VERSION})
set(DORVA_DATADIR ${CMAKE_INSTALL_PREFIX}/share)
set(DORVA_SEE_ALSO_PAGES "")
foreach(tool dorva-render dorva-send)
	if(TARGET ${tool})
		list(APPEND DORVA_SEE_ALSO_PAGES ".BR ${tool} (1)")
	endif()
endforeach()
set(DORVA_SEE_ALSO "")
if(DORVA_SEE_ALSO_PAGES)
	list(JOIN DORVA_SEE_ALSO_PAGES ",\n" DORVA_SEE_ALSO)
	set(DORVA_SEE_ALSO ".SH \"SEE ALSO\"\n${DORVA_SEE_ALSO}")
endif()
set(DORVA_MANUAL_PAGES dorva)
if(TARGET dorva-render)
	list(APPEND DORVA_MANUAL_PAGES dorva-render)
endif()
find_program(GZIP_PROGRAM gzip REQUIRED)
set(DORVA_COMPRESSED_PAGES "")
foreach(page ${DORVA_MANUAL_PAGES})
	configure_file(${PROJECT_SOURCE_DIR}/docs/${page}.1.in ${PROJECT_BINARY_DIR}/man/${page}.1 @ONLY)
	add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/man/${page}.1.gz
		COMMAND ${GZIP_PROGRAM} -9 -n -c ${PROJECT_BINARY_DIR}/man/${page}.1 > ${PROJECT_BINARY_DIR}/man/${page}.1.gz
		DEPENDS ${PROJECT_BINARY_DIR}/man/${page}.1
		COMMENT "Compressing the manual page ${page}(1)"
		VERBATIM)
	list(APPEND DORVA_COMPRESSED_PAGES ${PROJECT_BINARY_DIR}/man/${page}.1.gz)
endforeach()
add_custom_target(dorva-manual ALL DEPENDS ${DORVA_COMPRESSED_PAGES})

install(FILES ${DORVA_DESKTOP_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${DORVA_METAINFO_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${DORVA_DESKTOP_DIR}/icons/${DORVA_APP_ID}.svg
	DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size ${DORVA_ICON_SIZES})
	install(FILES ${DORVA_DESKTOP_DIR}/icons/${size}x${size}/${DORVA_APP_ID}.png
		DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${DORVA_COMPRESSED_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(DORVA_BUILD_TESTS)
	# Both validators, and the manual page through groff's warnings; skipped (77) when the
	# tools are not installed.
	add_test(NAME desktop_files_validate
		COMMAND ${PROJECT_SOURCE_DIR}/tests/desktop/validate.sh
			${DORVA_DESKTOP_FILE} ${DORVA_METAINFO_FILE} ${PROJECT_BINARY_DIR}/man/dorva.1
			${PROJECT_BINARY_DIR}/man/dorva-render.1)
	set_tests_properties(desktop_files_validate PROPERTIES SKIP_RETURN_CODE 77)
	# What `cmake --install` puts where, in a scratch prefix.
	add_test(NAME desktop_install_tree
		COMMAND ${PROJECT_SOURCE_DIR}/tests/desktop/install_tree.sh ${PROJECT_BINARY_DIR})
	set_tests_properties(desktop_install_tree PROPERTIES SKIP_RETURN_CODE 77)
endif()
