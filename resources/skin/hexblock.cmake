# Writes the form-data text of a binary property: NAME = { hex } with 32 bytes a line.
#   cmake -DIN=payload.bin -DOUT=block.txt -DNAME=SkinStream -P hexblock.cmake
file(READ "${IN}" hex HEX)
string(TOUPPER "${hex}" hex)
string(LENGTH "${hex}" length)
set(text "${NAME} = {\n")
set(pos 0)
while(pos LESS length)
  string(SUBSTRING "${hex}" ${pos} 64 line)
  string(APPEND text "  ${line}\n")
  math(EXPR pos "${pos} + 64")
endwhile()
string(APPEND text "}\n")
file(WRITE "${OUT}" "${text}")
