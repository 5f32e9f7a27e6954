# Builds help.chm from the UTF-8 sources of this folder:
#   cmake -DSRC=DIR -DWORK=DIR -DOUT=FILE -DCHMCMD=PATH -P build_help.cmake
# Every source is converted to GBK (code page 936, the program's) in WORK, its "charset=utf-8"
# declaration becoming "charset=gb2312"; chmcmd then compiles WORK/help.hhp and the result is
# copied to OUT. A text that GBK cannot hold, a file that chmcmd misses or any warning of
# chmcmd fails the build.
cmake_minimum_required(VERSION 3.25)
foreach(var SRC WORK OUT CHMCMD)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "build_help.cmake: ${var} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(GLOB sources RELATIVE ${SRC} ${SRC}/*.htm ${SRC}/*.css ${SRC}/*.hhc ${SRC}/*.hhk ${SRC}/*.hhp)
foreach(name IN LISTS sources)
  file(READ ${SRC}/${name} text)
  string(REPLACE "charset=utf-8" "charset=gb2312" text "${text}")
  file(WRITE ${WORK}/${name}.utf8 "${text}")
  execute_process(COMMAND iconv -f UTF-8 -t CP936 -o ${WORK}/${name} ${WORK}/${name}.utf8
                  RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "help: ${name} cannot be converted to GBK: ${err}")
  endif()
  file(REMOVE ${WORK}/${name}.utf8)
endforeach()

execute_process(COMMAND ${CHMCMD} help.hhp WORKING_DIRECTORY ${WORK}
                RESULT_VARIABLE rc OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(NOT rc EQUAL 0 OR log MATCHES "Warning|Error" OR NOT EXISTS ${WORK}/help.chm)
  message(FATAL_ERROR "help: chmcmd failed (${rc}):\n${log}")
endif()
file(COPY_FILE ${WORK}/help.chm ${OUT})
