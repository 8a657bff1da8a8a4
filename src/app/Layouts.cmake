# Compiles the stored layouts of src/app into the app library.
set(EMR_APP_LAYOUTS Unit1)
foreach(unit IN LISTS EMR_APP_LAYOUTS)
  set(in ${CMAKE_SOURCE_DIR}/src/app/${unit}.layout)
  set(out ${CMAKE_BINARY_DIR}/generated/app/${unit}Layout.cpp)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DIN=${in} -DOUT=${out} -DNAME=${unit}Layout
            -P ${CMAKE_SOURCE_DIR}/src/app/EmbedLayout.cmake
    DEPENDS ${in} ${CMAKE_SOURCE_DIR}/src/app/EmbedLayout.cmake
    COMMENT "Compiling the stored layout ${unit}.layout into the program"
    VERBATIM)
  target_sources(app PRIVATE ${out})
endforeach()
