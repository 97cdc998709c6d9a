# Proves that the build keeps Qt widgets out of the model: with the very
# compile command the build uses for a source of each model folder (read from
# compile_commands.json), a file including a widget header must fail to
# compile with the guard's message, while headers of Qt Core, Gui and Svg
# still compile. Arguments: BUILD_DIR, SOURCE_DIR, MESSAGE.
set(probe_dir ${BUILD_DIR}/model-layer-probe)
file(WRITE ${probe_dir}/widget.cpp "#include <QtWidgets/QWidget>\ninline void Probe() { QWidget().show(); }\n")
file(WRITE ${probe_dir}/module.cpp "#include <QtWidgets/QtWidgets>\n")
file(WRITE ${probe_dir}/print.cpp "#include <QtPrintSupport/QPrinter>\n")
file(WRITE ${probe_dir}/allowed.cpp "#include <QtCore/QString>\n#include <QtGui/QImage>\n#include <QtSvg/QSvgRenderer>\n")

file(READ ${BUILD_DIR}/compile_commands.json commands)
string(JSON count LENGTH "${commands}")
math(EXPR last "${count} - 1")

# The compile command of the first source directly in each model folder,
# turned into a syntax check of another file: folder_args_<folder> and
# folder_dir_<folder>. One pass, which ends when every folder has one (each
# lookup parses the whole file again).
set(folders foundation math kernel drawing plot export)
set(missing ${folders})
foreach(i RANGE ${last})
  string(JSON file GET "${commands}" ${i} file)
  foreach(folder ${missing})
    if(file MATCHES "^${SOURCE_DIR}/${folder}/[^/]+\\.cpp$")
      string(JSON command GET "${commands}" ${i} command)
      string(JSON folder_dir_${folder} GET "${commands}" ${i} directory)
      separate_arguments(words UNIX_COMMAND "${command}")
      set(args)
      set(skip FALSE)
      foreach(word ${words})
        if(skip)
          set(skip FALSE)
        elseif(word MATCHES "^-(o|c|MF|MT|MQ)$")
          set(skip TRUE)
        elseif(NOT word MATCHES "(^-M|ccache$)" AND NOT word STREQUAL file)
          list(APPEND args ${word})
        endif()
      endforeach()
      set(folder_args_${folder} ${args} -fsyntax-only -Wfatal-errors)
      list(REMOVE_ITEM missing ${folder})
    endif()
  endforeach()
  if(NOT missing)
    break()
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "no compile command for a source of: ${missing}")
endif()

function(check args directory probe expect_failure)
  execute_process(COMMAND ${args} ${probe_dir}/${probe} WORKING_DIRECTORY ${directory}
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(expect_failure AND (result EQUAL 0 OR NOT output MATCHES "${MESSAGE}"))
    message(SEND_ERROR "${folder}/ compiled ${probe} past the widget guard:\n${output}")
  elseif(NOT expect_failure AND NOT result EQUAL 0)
    message(SEND_ERROR "${folder}/ could not compile ${probe}:\n${output}")
  endif()
endfunction()

foreach(folder ${folders})
  check("${folder_args_${folder}}" ${folder_dir_${folder}} widget.cpp TRUE)
endforeach()
# The other ways in, and what the model may use, checked in one folder.
set(folder foundation)
check("${folder_args_${folder}}" ${folder_dir_${folder}} module.cpp TRUE)
check("${folder_args_${folder}}" ${folder_dir_${folder}} print.cpp TRUE)
check("${folder_args_${folder}}" ${folder_dir_${folder}} allowed.cpp FALSE)
