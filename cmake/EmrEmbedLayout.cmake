# emr_embed_layout(<target> <file> [NAME <function>])
#
# Compiles the stored layout <file> (relative to the calling CMakeLists.txt's
# folder, or absolute) into <target>, so that the program reads no layout file
# at run time. The generated source defines, in namespace emr,
#
#   std::string_view <function>();
#
# returning the layout's text; the program declares it and hands the text to
# TLayoutReader. <function> defaults to the file's name without its extension,
# first letter in capitals, followed by "Layout": editor.layout gives
# EditorLayout(). The layout's // comment lines are left out of the text as
# empty lines, so that the reader's line numbers still match the file.
#
# Installed with the toolkit's CMake package: find_package(EmrToolkit) makes it
# available.
function(emr_embed_layout target file)
  cmake_parse_arguments(EMBED "" "NAME" "" ${ARGN})
  if(EMBED_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "emr_embed_layout: unknown arguments ${EMBED_UNPARSED_ARGUMENTS}")
  endif()
  get_filename_component(in "${file}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  if(NOT EMBED_NAME)
    get_filename_component(stem "${in}" NAME_WE)
    string(SUBSTRING "${stem}" 0 1 first)
    string(SUBSTRING "${stem}" 1 -1 rest)
    string(TOUPPER "${first}" first)
    set(EMBED_NAME "${first}${rest}Layout")
  endif()
  if(NOT EMBED_NAME MATCHES "^[A-Za-z_][A-Za-z0-9_]*$")
    message(FATAL_ERROR "emr_embed_layout: \"${EMBED_NAME}\" is not a C++ function name; give one with NAME")
  endif()
  set(script "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/EmbedLayout.cmake")
  set(out "${CMAKE_CURRENT_BINARY_DIR}/emr_layouts/${target}/${EMBED_NAME}.cpp")
  get_filename_component(shown "${in}" NAME)
  add_custom_command(
    OUTPUT "${out}"
    COMMAND ${CMAKE_COMMAND} "-DIN=${in}" "-DOUT=${out}" "-DNAME=${EMBED_NAME}" -P "${script}"
    DEPENDS "${in}" "${script}"
    COMMENT "Compiling the stored layout ${shown} into ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE "${out}")
endfunction()
