# The localized program's language dictionaries: translations/dorva_<language>.ts, compiled
# by Qt's lrelease into dorva_<language>.qm files.
file(GLOB DORVA_TRANSLATIONS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/translations/dorva_*.ts)

# Adds the target <name> that compiles the dictionaries into <folder>/Language/Dictionaries.
# The localized program looks for them there, beside its own executable file.
function(dorva_add_dictionaries name folder)
	set(dictionaries ${folder}/Language/Dictionaries)
	set(compiled)
	foreach(source ${DORVA_TRANSLATIONS})
		get_filename_component(leaf ${source} NAME_WE)
		set(output ${dictionaries}/${leaf}.qm)
		add_custom_command(OUTPUT ${output}
			COMMAND ${CMAKE_COMMAND} -E make_directory ${dictionaries}
			COMMAND Qt6::lrelease -silent ${source} -qm ${output}
			DEPENDS ${source}
			COMMENT "Compiling the dictionary ${dictionaries}/${leaf}.qm"
			VERBATIM)
		list(APPEND compiled ${output})
	endforeach()
	add_custom_target(${name} DEPENDS ${compiled})
endfunction()
