# The system's subsystems are layers, each a static library of its folder:
#   facade -> assist, selection -> catalog, controls, treectrl -> base -> afx -> win32
# (resources/, the resource numbers, is seen by every layer; the catalog library on the side).
# A layer compiles against a view of the source tree that holds only the folders it may use,
# so an include that reaches up a layer does not build.
function(pelorin_layer name)
  cmake_parse_arguments(L "" "" "SOURCES;SEES;LINKS" ${ARGN})
  add_library(${name} STATIC ${L_SOURCES})
  set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  target_compile_definitions(${name} PRIVATE PELORIN_BUILD)
  target_link_libraries(${name} PUBLIC ${L_LINKS})
  set(view ${CMAKE_BINARY_DIR}/layers/${name})
  file(REMOVE_RECURSE ${view})
  file(MAKE_DIRECTORY ${view})
  foreach(dir ${L_SEES})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${dir} ${view}/${dir} SYMBOLIC)
  endforeach()
  target_include_directories(${name} PRIVATE ${view})
  set_property(GLOBAL APPEND PROPERTY PELORIN_LAYERS ${name})
endfunction()
