# One static library per source folder. Sources are picked up by globbing so that adding a
# page or a test file needs no edit here. A folder split in two libraries names the files of
# one with ONLY (base names, without extension) and leaves them out of the other with EXCEPT.
function(kw_library name)
  cmake_parse_arguments(KW "" "" "DIRS;DEPS;ONLY;EXCEPT" ${ARGN})
  set(sources "")
  foreach(dir IN LISTS KW_DIRS)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS
         ${dir}/*.cpp ${dir}/*.h ${dir}/*.ui ${dir}/*.qrc)
    list(APPEND sources ${found})
  endforeach()
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  if(KW_ONLY)
    list(JOIN KW_ONLY "|" only)
    list(FILTER sources INCLUDE REGEX "/(${only})\\.[a-z]+$")
  endif()
  if(KW_EXCEPT)
    list(JOIN KW_EXCEPT "|" except)
    list(FILTER sources EXCLUDE REGEX "/(${except})\\.[a-z]+$")
  endif()
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
# Test code is compiled without optimisation: a test waits on the simulated device far longer than
# it computes, and the tests are most of a fresh build. The code under test keeps the build's
# flags.
function(kw_test_code target)
  target_compile_options(${target} PRIVATE -O0)
endfunction()

# The framework's and the toolkit's headers that nearly every test includes, compiled once per
# test program instead of once per file.
set(KW_TEST_PRECOMPILED
    <gtest/gtest.h> <QApplication> <QWidget> <QDialog> <QComboBox> <QStatusBar> <QLineEdit>
    <QPushButton> <QLabel> <QTreeWidget> <QCheckBox> <QRadioButton> <QTabWidget> <QTimer>
    <QElapsedTimer> <QFile> <QDir> <QTemporaryDir> <QJsonArray> <QJsonObject> <QJsonDocument>
    <QUdpSocket> <QAccessible> <algorithm> <functional> <memory> <vector>)

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
  kw_test_code(${name})
  target_precompile_headers(${name} PRIVATE ${KW_TEST_PRECOMPILED})
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
               TIMEOUT 300)
endfunction()
