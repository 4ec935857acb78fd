# The program: its four folders build one library that both configurations and the tests
# link; each configuration adds its entry point and its own localization unit.
file(GLOB DORVA_PROGRAM_SOURCES CONFIGURE_DEPENDS
	${PROJECT_SOURCE_DIR}/app/*.cpp
	${PROJECT_SOURCE_DIR}/canvas/*.cpp
	${PROJECT_SOURCE_DIR}/imageio/*.cpp
	${PROJECT_SOURCE_DIR}/config/*.cpp)
list(FILTER DORVA_PROGRAM_SOURCES EXCLUDE REGEX "/app/(main|localization_[a-z]+)\\.cpp$")

if(DORVA_PROGRAM_SOURCES)
	add_library(dorva_program STATIC ${DORVA_PROGRAM_SOURCES})
	target_include_directories(dorva_program PUBLIC
		${PROJECT_SOURCE_DIR}/app ${PROJECT_SOURCE_DIR}/canvas
		${PROJECT_SOURCE_DIR}/imageio ${PROJECT_SOURCE_DIR}/config)
	target_link_libraries(dorva_program PUBLIC dorvakit)
endif()

# Holiday files (iCalendar) are read with libical, found through pkg-config.
if(TARGET dorva_program)
	find_package(PkgConfig REQUIRED)
	pkg_check_modules(LIBICAL REQUIRED IMPORTED_TARGET libical)
	target_link_libraries(dorva_program PRIVATE PkgConfig::LIBICAL)
endif()

if(TARGET dorva_program)
	add_executable(dorva ${PROJECT_SOURCE_DIR}/app/main.cpp ${PROJECT_SOURCE_DIR}/app/localization_plain.cpp)
	target_link_libraries(dorva PRIVATE dorva_program)
	install(TARGETS dorva RUNTIME DESTINATION bin)
endif()

# The localized program: the same library, with the unit that loads the language dictionary
# and looks the menu labels up in it, and the locale service. It runs from the build tree
# with its dictionaries beside it, and is installed the same way: the program and its
# Language/Dictionaries folder side by side in lib/dorva, reached through a link in bin.
if(TARGET dorva_program)
	add_executable(dorva-localized ${PROJECT_SOURCE_DIR}/app/main.cpp
		${PROJECT_SOURCE_DIR}/app/localization_dictionary.cpp)
	target_link_libraries(dorva-localized PRIVATE dorva_program dorvakit_locale)
	set_target_properties(dorva-localized PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
	dorva_add_dictionaries(dorva-localized-dictionaries ${PROJECT_BINARY_DIR})
	add_dependencies(dorva-localized dorva-localized-dictionaries)

	set(DORVA_LOCALIZED_DIR lib/dorva)
	install(TARGETS dorva-localized RUNTIME DESTINATION ${DORVA_LOCALIZED_DIR})
	install(DIRECTORY ${PROJECT_BINARY_DIR}/Language DESTINATION ${DORVA_LOCALIZED_DIR}
		FILES_MATCHING PATTERN "dorva_*.qm")
	# The link is resolved when the program asks where its executable file is, so the
	# dictionaries are found beside the real file in lib/dorva.
	install(CODE "
		file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
		file(CREATE_LINK ../${DORVA_LOCALIZED_DIR}/dorva-localized
			\"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/dorva-localized\" SYMBOLIC)
		message(STATUS \"Installing: \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/dorva-localized\")")
endif()

# dorva-send: a separate command-line tool that sends the running program one message over
# the session bus. It speaks Qt's D-Bus directly and shares only the protocol's names with
# the kit. Its bus code is a library of its own, so that the tests can use it too.
add_library(dorva_send_client STATIC
	${PROJECT_SOURCE_DIR}/tools/dorva-send/FieldParser.cpp
	${PROJECT_SOURCE_DIR}/tools/dorva-send/BusClient.cpp)
target_include_directories(dorva_send_client PUBLIC ${PROJECT_SOURCE_DIR}/tools/dorva-send)
target_link_libraries(dorva_send_client PUBLIC dorva_bus_protocol PRIVATE Qt6::Core Qt6::DBus)
add_executable(dorva-send ${PROJECT_SOURCE_DIR}/tools/dorva-send/main.cpp)
target_link_libraries(dorva-send PRIVATE dorva_send_client Qt6::Core)

if(TARGET dorva)
	include(GNUInstallDirs)
	install(TARGETS dorva-send RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
