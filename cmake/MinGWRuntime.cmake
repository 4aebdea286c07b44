# The MinGW C++ runtime as DLLs beside the modules: the host, the system's module and the catalog
# library pass std::string and other library objects to each other, so all of them must share one
# libstdc++ (and its libgcc and winpthread), which static linking would give each module its own
# copy of. The compiler names the files of its own thread model and exception handling.
set(runtime)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libgcc_s_dw2-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  # a name the compiler does not have comes back unchanged
  if(IS_ABSOLUTE "${path}" AND EXISTS "${path}")
    get_filename_component(path "${path}" REALPATH)
    list(APPEND runtime "${path}")
  endif()
endforeach()
if(NOT runtime MATCHES "libstdc\\+\\+-6.dll")
  message(FATAL_ERROR "${CMAKE_CXX_COMPILER} has no libstdc++-6.dll")
endif()
add_custom_target(mingw_runtime ALL
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${runtime} ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
  COMMENT "Copying the MinGW runtime DLLs beside the modules"
  VERBATIM)
