# Turns files into a C++ source holding their bytes, so the binary carries its static files.
# embed_files(TARGET name FILES f1 f2 ... ) adds a generated source with
#   const std::vector<zeziza::EmbeddedFile>& embeddedFiles_<name>();
function(embed_files)
  cmake_parse_arguments(EMB "" "TARGET;NAME" "FILES" ${ARGN})
  set(out "${CMAKE_CURRENT_BINARY_DIR}/embedded_${EMB_NAME}.cpp")
  set(abs_files "")
  foreach(f IN LISTS EMB_FILES)
    list(APPEND abs_files "${CMAKE_CURRENT_SOURCE_DIR}/${f}")
  endforeach()
  add_custom_command(
    OUTPUT "${out}"
    COMMAND ${CMAKE_COMMAND} -DOUT=${out} -DNAME=${EMB_NAME} "-DFILES=${abs_files}"
            -P "${PROJECT_SOURCE_DIR}/cmake/embed_run.cmake"
    DEPENDS ${abs_files} "${PROJECT_SOURCE_DIR}/cmake/embed_run.cmake"
    VERBATIM)
  target_sources(${EMB_TARGET} PRIVATE "${out}")
endfunction()
