# Writes the bytes of INPUT into the header OUTPUT as a string constant
#   inline constexpr char NAME[] = "...";
# in NAMESPACE, so that a file of assets/ is part of the program itself.
# Run as: cmake -DINPUT=... -DOUTPUT=... -DNAME=... -DNAMESPACE=... -P embed.cmake
file(READ "${INPUT}" hex HEX)
# Sixteen bytes a line, every byte as a hex escape: nothing in the file can
# end the literal early or be read as another escape.
string(REGEX REPLACE "(................................)" "\\1\n" hex "${hex}")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" hex "${hex}")
string(REGEX REPLACE "([^\n]+)" "    \"\\1\"" lines "${hex}")
string(REGEX REPLACE "\n$" "" lines "${lines}")
get_filename_component(source "${INPUT}" NAME)
file(WRITE "${OUTPUT}"
     "// Made at build time from ${source}: its bytes, as they are.\n"
     "#pragma once\n\nnamespace ${NAMESPACE} {\n\n"
     "inline constexpr char ${NAME}[] =\n${lines};\n\n} // namespace ${NAMESPACE}\n")
