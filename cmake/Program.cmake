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

if(TARGET dorva_program)
	add_executable(dorva ${PROJECT_SOURCE_DIR}/app/main.cpp ${PROJECT_SOURCE_DIR}/app/localization_plain.cpp)
	target_link_libraries(dorva PRIVATE dorva_program)
	install(TARGETS dorva RUNTIME DESTINATION bin)
endif()
