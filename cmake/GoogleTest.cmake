# GoogleTest from Debian's source package, built with whichever compiler this build uses
# (the host compiler, or the mingw-w64 cross compiler for the Windows tests).
set(NORV_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${NORV_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

# Registers a test program with CTest. In the Windows build the program runs through the
# cross-compiling emulator (Wine, see tools/wine-run). A hung test is stopped after five minutes
# instead of holding up the whole run.
function(norv_add_test target)
  add_test(NAME ${target} COMMAND ${target})
  set_tests_properties(${target} PROPERTIES TIMEOUT 300)
endfunction()
