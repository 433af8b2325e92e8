# Run by cpack once the files are staged: the ZIP archive is unpacked by
# hand, with no installer to put the sample settings file beside the
# programs, so it carries the file there ready.
if(CPACK_GENERATOR STREQUAL "ZIP")
  file(GLOB_RECURSE _samples "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/docs/config.ini")
  foreach(_sample IN LISTS _samples)
    cmake_path(GET _sample PARENT_PATH _docs)
    cmake_path(GET _docs PARENT_PATH _programs)
    file(COPY ${_sample} DESTINATION ${_programs})
  endforeach()
endif()
