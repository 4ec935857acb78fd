# The program's four folders build four libraries. Three need no window and are what
# dorva-render links: the calendar's composition (dorva_calendar, in canvas/), picture files
# in and out (dorva_pictures, in imageio/) and the command line's options (dorva_options, in
# app/ and config/). The fourth, dorva_program, holds the windows and the application, and
# is what both desktop programs and the tests link. Each folder's CMakeLists.txt lists its
# sources; each program adds its entry point and its own localization unit.
add_library(dorva_calendar STATIC)
target_link_libraries(dorva_calendar PUBLIC dorvakit)
add_library(dorva_pictures STATIC)
target_link_libraries(dorva_pictures PUBLIC dorvakit)
add_library(dorva_options STATIC)
target_link_libraries(dorva_options PUBLIC dorva_calendar)
add_library(dorva_program STATIC)
target_link_libraries(dorva_program PUBLIC dorva_calendar dorva_pictures dorva_options dorvakit)
target_include_directories(dorva_program PUBLIC ${PROJECT_SOURCE_DIR}/app
	${PROJECT_SOURCE_DIR}/canvas ${PROJECT_SOURCE_DIR}/imageio ${PROJECT_SOURCE_DIR}/config)
add_subdirectory(${PROJECT_SOURCE_DIR}/app)
add_subdirectory(${PROJECT_SOURCE_DIR}/canvas)
add_subdirectory(${PROJECT_SOURCE_DIR}/imageio)
add_subdirectory(${PROJECT_SOURCE_DIR}/config)

add_executable(dorva ${PROJECT_SOURCE_DIR}/app/main.cpp
	${PROJECT_SOURCE_DIR}/app/localization_plain.cpp)
target_link_libraries(dorva PRIVATE dorva_program)
install(TARGETS dorva RUNTIME DESTINATION bin)

# The localized program: the same library, with the unit that loads the language dictionary
# and looks the menu labels up in it, and the locale service. It runs from the build tree
# with its dictionaries beside it, and is installed the same way: the program and its
# Language/Dictionaries folder side by side in lib/dorva, reached through a link in bin.
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
