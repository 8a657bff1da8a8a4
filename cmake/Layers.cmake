# Each layer is a static library made of every source file in its folders, so
# adding a file needs no edit here. EXCLUDE names source files (by file name)
# that this platform builds without: the other platform's implementation of a
# header that both share.
#
# A layer compiles against an include tree of its own, made at configure time,
# that holds only the headers of its folders and of the layers it depends on
# (directly or not). An include of a higher layer, or of a backend the layer
# does not depend on, therefore does not compile. Folders under src/ appear
# under their path below src/ ("framework/core/Object.h"); other folders under
# their last component ("formplay/FormPlayer.h").
#
# The graph of layers is said here once: every layer, also one only the other
# platform builds (PLATFORM WIN32 or LINUX; WIN32_DIRS: folders only Windows
# builds), is recorded with its folders and the layers it uses, and
# emr_write_layer_graph writes that record for the layering test to check
# every source file against.
function(emr_layer name)
  cmake_parse_arguments(L "" "PLATFORM" "DIRS;WIN32_DIRS;DEPS;LIBS;EXCLUDE" ${ARGN})
  emr_record_layer(layer ${name} "${L_DIRS};${L_WIN32_DIRS}" "${L_DEPS}")
  if(WIN32)
    list(APPEND L_DIRS ${L_WIN32_DIRS})
  endif()
  emr_layer_visible_dirs(${name} "${L_DIRS}" "${L_DEPS}")
  if((L_PLATFORM STREQUAL "WIN32" AND NOT WIN32) OR (L_PLATFORM STREQUAL "LINUX" AND WIN32))
    return()
  endif()
  emr_check_relative_includes("${L_DIRS}")

  set(sources)
  foreach(dir IN LISTS L_DIRS)
    file(GLOB dir_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND sources ${dir_sources})
  endforeach()
  list(FILTER sources EXCLUDE REGEX "/(main|WinMain)\\.cpp$")
  foreach(excluded IN LISTS L_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "/${excluded}$")
  endforeach()

  get_property(visible GLOBAL PROPERTY EMR_LAYER_DIRS_${name})
  set(tree ${CMAKE_BINARY_DIR}/layer-include/${name})
  file(REMOVE_RECURSE ${tree})
  foreach(dir IN LISTS visible)
    if(dir MATCHES "^src/(.*)$")
      set(under ${CMAKE_MATCH_1})
    else()
      get_filename_component(under ${dir} NAME)
    endif()
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.h)
    file(MAKE_DIRECTORY ${tree}/${under})
    foreach(header IN LISTS headers)
      get_filename_component(file_name ${header} NAME)
      file(CREATE_LINK ${header} ${tree}/${under}/${file_name} SYMBOLIC)
    endforeach()
  endforeach()

  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PRIVATE ${tree})
    # Installed, the headers sit under one root, as in the source tree.
    target_include_directories(${name} INTERFACE $<INSTALL_INTERFACE:include/emrtoolkit>)
    target_link_libraries(${name} PUBLIC ${L_DEPS} ${L_LIBS})
    # Installed libraries carry the toolkit's prefix (libemr_core.a).
    set_target_properties(${name} PROPERTIES OUTPUT_NAME emr_${name})
    # The sources are scanned for relative includes before any of them compiles.
    add_dependencies(${name} emr_include_check)
  else()
    # A layer with no sources yet still carries its dependencies.
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${L_DEPS} ${L_LIBS})
  endif()
endfunction()

# Several layers offered as one library (the framework to the layers above it).
function(emr_layer_group name)
  cmake_parse_arguments(G "" "" "DEPS" ${ARGN})
  emr_record_layer(layer ${name} "" "${G_DEPS}")
  emr_layer_visible_dirs(${name} "" "${G_DEPS}")
  add_library(${name} INTERFACE)
  target_link_libraries(${name} INTERFACE ${G_DEPS})
endfunction()

# A program's entry point (FILES, under src/) compiles against the layers it
# names, like a layer: the backend it picks and the layers above the framework.
# On the other platform the program is only recorded.
function(emr_program_layer target)
  cmake_parse_arguments(P "" "PLATFORM" "FILES;DEPS" ${ARGN})
  emr_record_layer(program ${target}-${P_PLATFORM} "${P_FILES}" "${P_DEPS}")
  if((P_PLATFORM STREQUAL "WIN32" AND NOT WIN32) OR (P_PLATFORM STREQUAL "LINUX" AND WIN32) OR
     NOT TARGET ${target})
    return()
  endif()
  emr_layer_visible_dirs(${target} "" "${P_DEPS}")
  set(tree ${CMAKE_BINARY_DIR}/layer-include/${target})
  file(REMOVE_RECURSE ${tree})
  get_property(visible GLOBAL PROPERTY EMR_LAYER_DIRS_${target})
  foreach(dir IN LISTS visible)
    string(REGEX REPLACE "^src/" "" under ${dir})
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.h)
    file(MAKE_DIRECTORY ${tree}/${under})
    foreach(header IN LISTS headers)
      get_filename_component(file_name ${header} NAME)
      file(CREATE_LINK ${header} ${tree}/${under}/${file_name} SYMBOLIC)
    endforeach()
  endforeach()
  target_include_directories(${target} PRIVATE ${tree})
  target_link_libraries(${target} PRIVATE ${P_DEPS})
endfunction()

# The folders a layer sees: its own and, through its dependencies, theirs.
function(emr_layer_visible_dirs name dirs deps)
  set(visible ${dirs})
  foreach(dep IN LISTS deps)
    get_property(dep_known GLOBAL PROPERTY EMR_LAYER_DIRS_${dep} SET)
    if(NOT dep_known)
      message(FATAL_ERROR "layer ${name}: ${dep} is not a layer defined before it")
    endif()
    get_property(dep_visible GLOBAL PROPERTY EMR_LAYER_DIRS_${dep})
    list(APPEND visible ${dep_visible})
  endforeach()
  list(REMOVE_DUPLICATES visible)
  set_property(GLOBAL PROPERTY EMR_LAYER_DIRS_${name} "${visible}")
endfunction()

# One line of the graph: "layer NAME FOLDER... : LAYER..." (or "program NAME FILE... : LAYER...").
function(emr_record_layer kind name places deps)
  list(REMOVE_ITEM places "")
  list(JOIN places " " places_text)
  list(JOIN deps " " deps_text)
  set_property(GLOBAL APPEND PROPERTY EMR_LAYER_GRAPH "${kind} ${name} ${places_text} : ${deps_text}")
endfunction()

# Writes the recorded graph to `path`; the layering test reads it.
function(emr_write_layer_graph path)
  get_property(lines GLOBAL PROPERTY EMR_LAYER_GRAPH)
  list(JOIN lines "\n" text)
  file(CONFIGURE OUTPUT ${path} CONTENT "${text}\n" @ONLY)
endfunction()

# A relative include ("../x.h") would reach past a layer's include tree, so the
# build refuses one: every source of every layer is scanned (again whenever one
# changes) before the layers compile, and the build stops naming file and line.
add_custom_target(emr_include_check)
function(emr_check_relative_includes dirs)
  foreach(dir IN LISTS dirs)
    file(GLOB files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.h ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
    list(REMOVE_ITEM files "")
    if(NOT files)
      continue()
    endif()
    string(MAKE_C_IDENTIFIER ${dir} id)
    set(stamp ${CMAKE_BINARY_DIR}/include-check/${id}.stamp)
    add_custom_command(OUTPUT ${stamp}
      COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DSTAMP=${stamp} "-DFILES=${files}"
              -P ${CMAKE_SOURCE_DIR}/cmake/CheckRelativeIncludes.cmake
      DEPENDS ${files} ${CMAKE_SOURCE_DIR}/cmake/CheckRelativeIncludes.cmake
      COMMENT "Checking the includes of ${dir}" VERBATIM)
    add_custom_target(emr_include_check_${id} DEPENDS ${stamp})
    add_dependencies(emr_include_check emr_include_check_${id})
  endforeach()
endfunction()

# One test program per folder under tests/ that holds sources.
function(emr_test_program name)
  cmake_parse_arguments(T "" "" "DIRS;DEPS" ${ARGN})
  set(sources)
  foreach(dir IN LISTS T_DIRS)
    file(GLOB dir_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND sources ${dir_sources})
  endforeach()
  if(NOT sources)
    return()
  endif()
  if(WIN32 AND NOT name IN_LIST EMR_WINDOWS_TESTS)
    return()
  endif()
  if(WIN32)
    # Tests of the Linux line shaper: Windows has its own text engine.
    list(FILTER sources EXCLUDE REGEX "/ShapedLineTest\\.cpp$")
  endif()
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${T_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  if(WIN32)
    # Each program is one test under Wine: listing the tests would start Wine once more per program.
    if(name IN_LIST EMR_DISPLAY_TESTS)
      # A prefix of their own whose server lives only as long as the X server
      # it was started on: Wine opens windows through the display of the session
      # that started its server.
      add_test(NAME ${name}
               COMMAND xvfb-run -a env EMR_WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix-display EMR_WINE_WAIT=1
                       ${CMAKE_SOURCE_DIR}/scripts/wine-run $<TARGET_FILE:${name}>
               WORKING_DIRECTORY ${CMAKE_SOURCE_DIR})
    else()
      add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${CMAKE_SOURCE_DIR})
    endif()
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "EMR_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
  else()
    gtest_discover_tests(${name} WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} DISCOVERY_TIMEOUT 60
                         PROPERTIES ENVIRONMENT "EMR_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
  endif()
endfunction()
