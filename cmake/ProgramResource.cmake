# tw_program_resource(TARGET NAME FILE PRODUCER): links FILE, which the target
# PRODUCER makes, into the program TARGET as data named NAME, read back with
# platform::ProgramResource. Windows builds
# carry it as an RCDATA resource; the headless build compiles it into a source
# that registers the bytes before main runs.
function(tw_program_resource target name file producer)
  add_dependencies(${target} ${producer})
  set(base ${CMAKE_CURRENT_BINARY_DIR}/${target}_${name})
  if(WIN32)
    file(WRITE ${base}.rc "${name} RCDATA \"${file}\"\n")
    set_source_files_properties(${base}.rc PROPERTIES OBJECT_DEPENDS ${file})
    target_sources(${target} PRIVATE ${base}.rc)
  else()
    add_custom_command(OUTPUT ${base}.cpp
      COMMAND ${CMAKE_COMMAND} -DNAME=${name} -DINPUT=${file} -DOUTPUT=${base}.cpp
              -P ${PROJECT_SOURCE_DIR}/cmake/EmbedFile.cmake
      DEPENDS ${file} ${PROJECT_SOURCE_DIR}/cmake/EmbedFile.cmake VERBATIM)
    target_sources(${target} PRIVATE ${base}.cpp)
  endif()
endfunction()
