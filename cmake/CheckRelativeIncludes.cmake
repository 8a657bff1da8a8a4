# cmake -DSOURCE_DIR=... -DSTAMP=... -DFILES=a;b;c -P CheckRelativeIncludes.cmake
# Fails naming each file and line that includes a header by a relative path with
# "..": such an include reaches past the layer include trees the build compiles
# against. Touches STAMP when every file is clean.
set(found "")
foreach(file IN LISTS FILES)
  file(STRINGS ${file} suspects REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][^\">]*\\.\\.")
  if(NOT suspects)
    continue()
  endif()
  # One list element per line: characters that CMake lists treat specially go first.
  file(READ ${file} text)
  string(REGEX REPLACE "[][;\\]" "_" text "${text}")
  string(REPLACE "\n" ";" lines "${text}")
  set(number 0)
  foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    if(line MATCHES "^[ \t]*#[ \t]*include[ \t]*[\"<][^\">]*\\.\\.")
      file(RELATIVE_PATH shown ${SOURCE_DIR} ${file})
      string(APPEND found "${shown}:${number}: ${line}\n")
    endif()
  endforeach()
endforeach()
if(found)
  message(FATAL_ERROR "relative includes reach past the layers; include a header by its path below src/:\n${found}")
endif()
file(TOUCH ${STAMP})
