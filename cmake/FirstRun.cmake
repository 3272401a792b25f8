# Every build lays down what the saver needs beside the executable on its
# first run: the sample pictures (the default picture list) in samples/, the
# cache folder Glidorama/ with their cached copies, and the preview picture.
# No settings file is written: missing keys fall back to the defaults, which
# name these samples.
add_subdirectory(${PROJECT_SOURCE_DIR}/tools ${PROJECT_BINARY_DIR}/tools)

set(program_dir ${PROJECT_BINARY_DIR})
set(sample_names aurora.jpg tower.png ripples.gif tiles.bmp dunes.jpg)
set(sample_sources)
set(sample_copies)
foreach(name ${sample_names})
  list(APPEND sample_sources ${PROJECT_SOURCE_DIR}/assets/${name})
  list(APPEND sample_copies ${program_dir}/samples/${name})
endforeach()
set(cached_copies)
list(LENGTH sample_names sample_count)
math(EXPR last_sample "${sample_count} - 1")
foreach(n RANGE ${last_sample})
  list(APPEND cached_copies ${program_dir}/Glidorama/Glidorama${n}.dib)
endforeach()

# Sanitizer builds run the filler too; leaks of the image plugins at exit
# must not fail the build.
add_custom_command(
  OUTPUT ${sample_copies} ${cached_copies} ${program_dir}/preview.png
  COMMAND ${CMAKE_COMMAND} -E make_directory ${program_dir}/samples
  COMMAND ${CMAKE_COMMAND} -E copy ${sample_sources} ${program_dir}/samples/
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/assets/preview.png ${program_dir}/
  COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 $<TARGET_FILE:glidorama_fill_cache> ${program_dir}
  DEPENDS ${sample_sources} ${PROJECT_SOURCE_DIR}/assets/preview.png glidorama_fill_cache
  COMMENT "Laying down the sample pictures and their cached copies"
  VERBATIM)
add_custom_target(glidorama_first_run ALL DEPENDS ${sample_copies} ${cached_copies} ${program_dir}/preview.png)
add_dependencies(glidorama glidorama_first_run)
