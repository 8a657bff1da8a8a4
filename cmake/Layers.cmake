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
function(emr_layer name)
  cmake_parse_arguments(L "" "" "DIRS;DEPS;LIBS;EXCLUDE" ${ARGN})
  set(sources)
  foreach(dir IN LISTS L_DIRS)
    file(GLOB dir_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND sources ${dir_sources})
  endforeach()
  list(FILTER sources EXCLUDE REGEX "/(main|WinMain)\\.cpp$")
  foreach(excluded IN LISTS L_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "/${excluded}$")
  endforeach()

  set(visible ${L_DIRS})
  foreach(dep IN LISTS L_DEPS)
    get_property(dep_visible GLOBAL PROPERTY EMR_LAYER_DIRS_${dep})
    if(NOT dep_visible)
      message(FATAL_ERROR "layer ${name}: ${dep} is not a layer defined before it")
    endif()
    list(APPEND visible ${dep_visible})
  endforeach()
  list(REMOVE_DUPLICATES visible)
  set_property(GLOBAL PROPERTY EMR_LAYER_DIRS_${name} ${visible})

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
  else()
    # A layer with no sources yet still carries its dependencies.
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${L_DEPS} ${L_LIBS})
  endif()
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
