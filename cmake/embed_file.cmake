# Turns a file into a C++ source holding its bytes (run as: cmake -DINPUT=… -DOUTPUT=… -DSYMBOL=… -P embed_file.cmake).
# Used for the factory bank, which the plug-in carries inside itself.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR byteCount "${hexLength} / 2")
# 32 bytes a line, each as 0xNN.
string(REGEX REPLACE "(................................................................)" "\\1\n" hex "${hex}")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," hex "${hex}")
file(WRITE "${OUTPUT}.tmp"
"// Generated from ${INPUT} by cmake/embed_file.cmake at build time: do not edit.\n"
"#include <cstddef>\n"
"#include <cstdint>\n\n"
"namespace quenvale {\n\n"
"extern const uint8_t ${SYMBOL}[];\n"
"extern const size_t ${SYMBOL}Size;\n"
"alignas(4) const uint8_t ${SYMBOL}[] = {\n${hex}\n};\n"
"const size_t ${SYMBOL}Size = ${byteCount};\n\n"
"}  // namespace quenvale\n")
# Only a changed file touches the output, so an unchanged bank does not rebuild the plug-in.
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
