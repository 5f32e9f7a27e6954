# cmake -DIN=form.txt -DSTREAM=skinstream.txt -DOUT=out.txt -P embed_skin.cmake
# Copies the form text with its @SkinStream@ line replaced by the SkinStream block.
file(READ ${IN} form)
file(READ ${STREAM} stream)
string(FIND "${form}" "@SkinStream@" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${IN}: no @SkinStream@ line")
endif()
string(REPLACE "@SkinStream@" "${stream}" form "${form}")
get_filename_component(dir ${OUT} DIRECTORY)
file(MAKE_DIRECTORY ${dir})
file(WRITE ${OUT} "${form}")
