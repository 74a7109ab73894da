# One static library per source folder. Sources are picked up by globbing so that adding a
# page or a test file needs no edit here.
function(kw_library name)
  cmake_parse_arguments(KW "" "" "DIRS;DEPS" ${ARGN})
  set(sources "")
  foreach(dir IN LISTS KW_DIRS)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS
         ${dir}/*.cpp ${dir}/*.h ${dir}/*.ui ${dir}/*.qrc)
    list(APPEND sources ${found})
  endforeach()
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  set(has_cpp FALSE)
  foreach(s IN LISTS sources)
    if(s MATCHES "\\.cpp$")
      set(has_cpp TRUE)
    endif()
  endforeach()
  if(has_cpp)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${KW_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${KW_DEPS})
  endif()
endfunction()

# One GoogleTest executable per test folder; every case becomes a CTest test.
function(kw_test_dir name)
  cmake_parse_arguments(KW "" "" "DIRS;DEPS" ${ARGN})
  set(sources "")
  foreach(dir IN LISTS KW_DIRS)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
    list(APPEND sources ${found})
  endforeach()
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE kw_test_support ${KW_DEPS})
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
               TIMEOUT 300)
endfunction()
