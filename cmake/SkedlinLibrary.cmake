# skedlin_library(NAME DIR [SUBDIRS sub ...] [EXCLUDE file ...] [LINKS ...]): a
# static library made of every .cpp in DIR and its listed SUBDIRS (new files are
# picked up without editing a CMakeLists.txt). A folder without any source is a
# mistake and fails the configure step.
function(skedlin_library name dir)
  cmake_parse_arguments(ARG "" "" "LINKS;EXCLUDE;SUBDIRS" ${ARGN})
  set(patterns ${dir}/*.cpp ${dir}/*.h)
  foreach(sub IN LISTS ARG_SUBDIRS)
    list(APPEND patterns ${dir}/${sub}/*.cpp ${dir}/${sub}/*.h)
  endforeach()
  file(GLOB sources CONFIGURE_DEPENDS ${patterns})
  foreach(excluded IN LISTS ARG_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "/${excluded}$")
  endforeach()
  set(cpp_sources ${sources})
  list(FILTER cpp_sources INCLUDE REGEX "\\.cpp$")
  if(NOT cpp_sources)
    message(FATAL_ERROR "Library ${name}: no .cpp source in ${dir}")
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LINKS})
endfunction()

# skedlin_test(NAME DIR LINKS ...): one GoogleTest program of every .cpp in DIR.
function(skedlin_test name dir)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT sources)
    message(FATAL_ERROR "Test ${name}: no .cpp source in ${dir}")
  endif()
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${dir})
  target_compile_definitions(${name} PRIVATE
    SKEDLIN_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
    SKEDLIN_CORPUS="${CMAKE_SOURCE_DIR}/../shared/corpus"
    SKEDLIN_BIN_DIR="${SKEDLIN_BIN_DIR}"
    SKEDLIN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  target_link_libraries(${name} PRIVATE ${ARG_LINKS} GTest::gtest GTest::gmock GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  # A test that waits for a dialog nobody answers fails after five minutes
  # instead of holding up the whole run.
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TZ=Europe/Berlin;LC_ALL=C.UTF-8" TIMEOUT 300)
endfunction()

# Every name a target links must be a target (ours, or an imported one such as
# Qt6::Core), a path or a linker flag. CMake itself would pass an unknown name
# to the linker as "-lname", or link nothing at all for a name with "::", so a
# misspelt name is caught here, once every folder has been configured.
function(skedlin_targets_of dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(children DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(child IN LISTS children)
    skedlin_targets_of(${child} child_targets)
    list(APPEND targets ${child_targets})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

function(skedlin_check_link_names)
  skedlin_targets_of(${CMAKE_SOURCE_DIR} targets)
  set(unknown "")
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "UTILITY")
      continue()
    endif()
    set(names "")
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(direct ${target} LINK_LIBRARIES)
      if(direct)
        list(APPEND names ${direct})
      endif()
    endif()
    get_target_property(interface ${target} INTERFACE_LINK_LIBRARIES)
    if(interface)
      list(APPEND names ${interface})
    endif()
    foreach(item IN LISTS names)
      if(TARGET ${item} OR item MATCHES "^\\$<" OR item MATCHES "^-" OR IS_ABSOLUTE "${item}")
        continue()
      endif()
      list(APPEND unknown "${target} links \"${item}\", which is no target")
    endforeach()
  endforeach()
  if(unknown)
    list(REMOVE_DUPLICATES unknown)
    list(JOIN unknown "\n  " text)
    message(FATAL_ERROR "Unknown link names (misspelt, or their folder was not configured):\n  ${text}")
  endif()
endfunction()
