# skedlin_library(NAME DIR [LINKS ...]): a static library made of every .cpp in DIR
# (new files are picked up without editing a CMakeLists.txt). Nothing is defined
# while DIR holds no source yet.
function(skedlin_library name dir)
  cmake_parse_arguments(ARG "" "" "LINKS;EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  foreach(excluded IN LISTS ARG_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "/${excluded}$")
  endforeach()
  set(cpp_sources ${sources})
  list(FILTER cpp_sources INCLUDE REGEX "\\.cpp$")
  if(NOT cpp_sources)
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  foreach(dep IN LISTS ARG_LINKS)
    if(TARGET ${dep} OR dep MATCHES "::")
      target_link_libraries(${name} PUBLIC ${dep})
    endif()
  endforeach()
endfunction()

# skedlin_test(NAME DIR LINKS ...): one GoogleTest program of every .cpp in DIR.
function(skedlin_test name dir)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${dir})
  target_compile_definitions(${name} PRIVATE
    SKEDLIN_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
    SKEDLIN_CORPUS="${CMAKE_SOURCE_DIR}/../shared/corpus"
    SKEDLIN_BIN_DIR="${SKEDLIN_BIN_DIR}"
    SKEDLIN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  foreach(dep IN LISTS ARG_LINKS)
    if(TARGET ${dep} OR dep MATCHES "::")
      target_link_libraries(${name} PRIVATE ${dep})
    endif()
  endforeach()
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gmock GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  # A test that waits for a dialog nobody answers fails after five minutes
  # instead of holding up the whole run.
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TZ=Europe/Berlin;LC_ALL=C.UTF-8" TIMEOUT 300)
endfunction()
