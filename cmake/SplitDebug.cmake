# cmake -DOBJCOPY=<objcopy> -DBINARY=<file> -DSYMBOLS=<file.debug> -P SplitDebug.cmake
# Moves a linked binary's debug sections into SYMBOLS and leaves in BINARY a
# gnu-debuglink naming it, so crash addresses can be read against what shipped.
foreach(variable OBJCOPY BINARY SYMBOLS)
    if(NOT ${variable})
        message(FATAL_ERROR "SplitDebug.cmake needs -D${variable}=...")
    endif()
endforeach()

# objcopy would stamp its own time into the PE header: both files keep the
# linker's, the one a crash report names the module by.
file(READ ${BINARY} pe_offset OFFSET 60 LIMIT 4 HEX)
string(REGEX REPLACE "(..)(..)(..)(..)" "\\4\\3\\2\\1" pe_offset ${pe_offset})
math(EXPR stamp_offset "0x${pe_offset} + 8")
file(READ ${BINARY} stamp OFFSET ${stamp_offset} LIMIT 4 HEX)
string(REGEX REPLACE "(..)(..)(..)(..)" "\\4\\3\\2\\1" stamp ${stamp})
math(EXPR stamp "0x${stamp}")

get_filename_component(symbol_dir ${SYMBOLS} DIRECTORY)
file(MAKE_DIRECTORY ${symbol_dir})
foreach(step "--only-keep-debug;${BINARY};${SYMBOLS}" "--strip-all;--add-gnu-debuglink=${SYMBOLS};${BINARY}")
    execute_process(COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${stamp} ${OBJCOPY} ${step}
                    RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${OBJCOPY} ${step} failed: ${result}")
    endif()
endforeach()
