# The release package: Norvane-<version>-win64.zip with Norv.exe, the help page and the Japanese
# read-me, built by the target norv_package (part of the default build, so the tests can open it).
# The version comes from project() alone: the version resource, the read-me and the zip name.

set(NORV_PACKAGE_ZIP "${CMAKE_BINARY_DIR}/Norvane-${PROJECT_VERSION}-win64.zip")
set(NORV_PACKAGE_FILES Norv.exe Norvane.html README-ja.txt)

# Notepad opens UTF-8 with a byte order mark correctly on every Windows of any language (Shift-JIS
# only on a Japanese one), and only CRLF line ends on the Notepad of older Windows 10.
string(ASCII 239 187 191 NORV_READ_ME_BOM)
set(norv_read_me "${CMAKE_BINARY_DIR}/package/README-ja.txt")
configure_file(${PROJECT_SOURCE_DIR}/docs/release/README-ja.txt.in ${norv_read_me} @ONLY
               NEWLINE_STYLE CRLF)

# Norv.exe ships without debug information (the static runtime libraries bring about a megabyte
# of it). The build keeps it for crash analysis in Norv.exe.debug beside the shipped file, which
# names it in its .gnu_debuglink section so that a debugger finds it there. Checked here, so a
# package with debug information is never built.
if(NOT CMAKE_OBJCOPY OR NOT CMAKE_OBJDUMP)
  message(FATAL_ERROR "The package needs the toolchain's objcopy and objdump, which were not found")
endif()
set(NORV_SHIPPED_EXE "${CMAKE_BINARY_DIR}/package/Norv.exe")
set(norv_debug_file "${CMAKE_BINARY_DIR}/package/Norv.exe.debug")
add_custom_command(
  OUTPUT ${NORV_SHIPPED_EXE} ${norv_debug_file}
  COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:Norv> ${norv_debug_file}
  COMMAND ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=${norv_debug_file} $<TARGET_FILE:Norv>
          ${NORV_SHIPPED_EXE}
  COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DEXE=${NORV_SHIPPED_EXE}
          -P ${PROJECT_SOURCE_DIR}/cmake/check_stripped.cmake
  DEPENDS Norv ${PROJECT_SOURCE_DIR}/cmake/check_stripped.cmake
  COMMENT "Stripping Norv.exe for the package"
  VERBATIM)

set(norv_stage "${CMAKE_BINARY_DIR}/package/stage")
set(norv_help_page "${PROJECT_SOURCE_DIR}/docs/help/Norvane.html")
add_custom_command(
  OUTPUT ${NORV_PACKAGE_ZIP}
  # A fresh folder each time, so nothing left from an earlier build slips into the zip.
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${norv_stage}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${norv_stage}
  COMMAND ${CMAKE_COMMAND} -E copy ${NORV_SHIPPED_EXE} ${norv_help_page} ${norv_read_me}
          ${norv_stage}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${NORV_PACKAGE_ZIP}
  COMMAND ${CMAKE_COMMAND} -E chdir ${norv_stage}
          ${CMAKE_COMMAND} -E tar cf ${NORV_PACKAGE_ZIP} --format=zip ${NORV_PACKAGE_FILES}
  DEPENDS ${NORV_SHIPPED_EXE} ${norv_help_page} ${norv_read_me}
  COMMENT "Packing Norvane-${PROJECT_VERSION}-win64.zip"
  VERBATIM)
add_custom_target(norv_package ALL DEPENDS ${NORV_PACKAGE_ZIP})
