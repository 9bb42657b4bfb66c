# Checks the release zip and leaves its files unpacked in OUT for the Windows test of the program's
# version. Arguments: ZIP, EXPECTED (file names), OUT, NORV_EXE and HELP_PAGE (the files as built
# for the package), OBJDUMP and CHECK_STRIPPED (the toolchain's objdump and the script that looks
# with it for debug information).

function(fail)
  message(FATAL_ERROR "${ZIP}: ${ARGN}")
endfunction()

execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${ZIP} OUTPUT_VARIABLE listing
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  fail("cannot be listed")
endif()
string(STRIP "${listing}" listing)
string(REPLACE "\n" ";" entries "${listing}")
list(SORT entries)
set(expected ${EXPECTED})
list(SORT expected)
if(NOT entries STREQUAL expected)
  fail("holds [${entries}] instead of exactly [${expected}]")
endif()

file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${ZIP} WORKING_DIRECTORY ${OUT}
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  fail("cannot be unpacked")
endif()
foreach(pair "Norv.exe|${NORV_EXE}" "Norvane.html|${HELP_PAGE}")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 name)
  list(GET pair 1 built)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}/${name} ${built}
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    fail("${name} differs from ${built}")
  endif()
endforeach()

# Shipped without debug information.
set(EXE ${OUT}/Norv.exe)
include(${CHECK_STRIPPED})

# The read-me as Notepad needs it: a byte order mark, CRLF line ends, and the zip's version.
file(READ ${OUT}/README-ja.txt hex HEX)
if(NOT hex MATCHES "^efbbbf")
  fail("README-ja.txt does not start with the UTF-8 byte order mark")
endif()
# Byte by byte, CR LF kept together: a lone LF is a line end Notepad may not show.
string(REGEX MATCHALL "0d0a|.." bytes "${hex}")
list(FIND bytes "0a" bare_line_end)
list(FIND bytes "0d0a" line_end)
if(NOT bare_line_end EQUAL -1 OR line_end EQUAL -1)
  fail("README-ja.txt has line ends without CR")
endif()
# (file(READ) without HEX drops the CRs, which does not matter here.)
file(READ ${OUT}/README-ja.txt text)
get_filename_component(zip_name ${ZIP} NAME)
if(NOT zip_name MATCHES "^Norvane-([0-9]+\\.[0-9]+\\.[0-9]+)-win64\\.zip$")
  fail("the zip's name carries no version")
endif()
string(FIND "${text}" "Norvane ${CMAKE_MATCH_1}" at)
if(at EQUAL -1)
  fail("README-ja.txt does not name version ${CMAKE_MATCH_1}")
endif()
