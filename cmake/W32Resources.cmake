# w32_target_resources(<target> <rc-file> [INCLUDE_DIRS dir...])
#
# Compiles a Windows resource script into the module <target>. On Windows the resource compiler
# takes the script as a source of the target. Elsewhere w32rc turns it at build time into a C++
# source that defines the module's resource table (w32res.h); the script is compiled again when
# it, a header it includes or an icon it names changes. INCLUDE_DIRS are searched for quoted
# #include files and icons after the script's own folder. One script per target.
function(w32_target_resources target rc)
  cmake_parse_arguments(W32RES "" "" "INCLUDE_DIRS" ${ARGN})
  if(W32RES_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "w32_target_resources: unexpected arguments ${W32RES_UNPARSED_ARGUMENTS}")
  endif()
  get_filename_component(rc "${rc}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  set(dirs)
  foreach(dir IN LISTS W32RES_INCLUDE_DIRS)
    get_filename_component(dir "${dir}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    list(APPEND dirs "${dir}")
  endforeach()

  if(WIN32)
    target_sources(${target} PRIVATE "${rc}")
    if(dirs)
      set_property(SOURCE "${rc}" APPEND PROPERTY INCLUDE_DIRECTORIES ${dirs})
    endif()
    return()
  endif()

  # Two tables would export the same symbol from one module.
  get_property(previous TARGET ${target} PROPERTY W32_RESOURCE_SCRIPT)
  if(previous)
    message(FATAL_ERROR "w32_target_resources: ${target} already has the script ${previous}")
  endif()
  set_property(TARGET ${target} PROPERTY W32_RESOURCE_SCRIPT "${rc}")

  get_filename_component(name "${rc}" NAME_WE)
  set(out "${CMAKE_CURRENT_BINARY_DIR}/w32rc/${target}/${name}.rc.cpp")
  set(args)
  foreach(dir IN LISTS dirs)
    list(APPEND args -I "${dir}")
  endforeach()
  add_custom_command(
    OUTPUT "${out}"
    COMMAND w32rc ${args} --depfile "${out}.d" -o "${out}" "${rc}"
    DEPENDS "${rc}" w32rc
    DEPFILE "${out}.d"
    COMMENT "Compiling resources ${name}.rc for ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE "${out}")
  set_property(SOURCE "${out}" APPEND PROPERTY INCLUDE_DIRECTORIES
               "$<TARGET_PROPERTY:win32_headers,INTERFACE_INCLUDE_DIRECTORIES>")
  # Every module exports a table of the same name; with the address sanitizer's checks on, a
  # program with resources that loads a module with resources would be stopped as an ODR
  # violation. The table is constant data, which the sanitizers have nothing to check in.
  set_property(SOURCE "${out}" APPEND PROPERTY COMPILE_OPTIONS
               "$<$<CXX_COMPILER_ID:GNU,Clang,AppleClang>:-fno-sanitize=all>")

  # A program's table is found through its dynamic symbols, as a module's is.
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set_property(TARGET ${target} PROPERTY ENABLE_EXPORTS ON)
  endif()
endfunction()
