# Every source folder is one library whose sources are the files found in it
# (subfolders included), so adding a file never means editing a build file.
# A folder's main.cpp belongs to its program, not to its library. A folder
# that holds two libraries globs itself and passes each its SOURCES.
function(qv_library name)
  cmake_parse_arguments(QV "" "" "DEPS;PRIVATE_DEPS;SOURCES" ${ARGN})
  if(QV_SOURCES)
    set(sources ${QV_SOURCES})
  else()
    qv_folder_sources(sources)
  endif()
  set(impl ${sources})
  list(FILTER impl INCLUDE REGEX "\\.(cpp|qrc)$")
  if(impl)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${QV_DEPS} PRIVATE ${QV_PRIVATE_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${QV_DEPS})
  endif()
endfunction()

# The model (foundation/ to export/) never includes a Qt widget header. Every
# widget and print header starts by including its module's global header; a
# model library's include path finds a stand-in for those first, and the
# stand-in stops the build. The Qt include root stays on the path, since Qt's
# own headers name one another through it.
set(QV_MODEL_GUARD_DIR ${PROJECT_BINARY_DIR}/model-guard)
set(QV_MODEL_GUARD_MESSAGE "A model folder never includes a Qt widget header")
foreach(header QtWidgets/qtwidgetsglobal.h QtWidgets/qtwidgets-config.h QtPrintSupport/qtprintsupportglobal.h
               QtOpenGLWidgets/qtopenglwidgetsglobal.h QtSvgWidgets/qtsvgwidgetsglobal.h)
  file(CONFIGURE OUTPUT ${QV_MODEL_GUARD_DIR}/${header} CONTENT "#error \"${QV_MODEL_GUARD_MESSAGE}\"\n")
endforeach()

function(qv_model_library name)
  qv_library(${name} ${ARGN})
  target_include_directories(${name} BEFORE PRIVATE ${QV_MODEL_GUARD_DIR})
endfunction()

# The sources of the current folder and its subfolders, without main.cpp.
function(qv_folder_sources out)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  set(${out} ${sources} PARENT_SCOPE)
endfunction()

# One test program for the files directly in a folder of tests/, and one more
# for each of its subfolders, so that unrelated work never shares a test program.
# Data files lie in data/ beside the sources; tests write what they make under
# test-output/ in the build tree. A test program starts a QGuiApplication, or
# with WIDGETS a QApplication (only programs that link the window framework).
function(qv_test_program name dir glob_mode)
  cmake_parse_arguments(QV "WIDGETS" "" "DEPS" ${ARGN})
  file(${glob_mode} sources CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  list(FILTER sources EXCLUDE REGEX "/(fuzz|data)/")
  if(NOT sources)
    return()
  endif()
  add_executable(test_${name} ${sources})
  if(QV_WIDGETS)
    target_link_libraries(test_${name} PRIVATE ${QV_DEPS} qv_testsupport qv_testmain_widgets)
  else()
    target_link_libraries(test_${name} PRIVATE ${QV_DEPS} qv_testsupport qv_testmain)
  endif()
  target_compile_definitions(test_${name} PRIVATE QV_TEST_DATA="${dir}/data"
                             QV_TEST_OUTPUT="${PROJECT_BINARY_DIR}/test-output/${name}"
                             QV_BINARY_DIR="${PROJECT_BINARY_DIR}"
                             QV_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  # Tests that talk to the kernel start the real kernel program.
  if(TARGET qvkernel)
    add_dependencies(test_${name} qvkernel)
  endif()
  add_test(NAME ${name} COMMAND test_${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${QV_TEST_ENV}" TIMEOUT 900)
endfunction()

function(qv_test_folder name)
  set(dir ${CMAKE_CURRENT_SOURCE_DIR}/${name})
  qv_test_program(${name} ${dir} GLOB ${ARGN})
  file(GLOB children CONFIGURE_DEPENDS LIST_DIRECTORIES true ${dir}/*)
  foreach(child ${children})
    get_filename_component(leaf ${child} NAME)
    if(IS_DIRECTORY ${child} AND NOT leaf MATCHES "^(data|fuzz)$")
      qv_test_program(${name}_${leaf} ${child} GLOB_RECURSE ${ARGN})
    endif()
  endforeach()
endfunction()
