# Fails when a Windows program carries debug information: DWARF sections or a symbol table.
# Arguments: OBJDUMP (the toolchain's objdump) and EXE.

execute_process(COMMAND ${OBJDUMP} --section-headers --private-headers ${EXE}
                OUTPUT_VARIABLE headers RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${EXE}: ${OBJDUMP} cannot read it")
endif()
string(REGEX MATCHALL "[ \t]\\.(debug_[a-z_]+|zdebug_[a-z_]+|stab[a-z]*)[ \t]" debug "${headers}")
if(debug)
  string(REGEX REPLACE "[ \t]" "" debug "${debug}")
  list(REMOVE_DUPLICATES debug)
  list(JOIN debug ", " debug)
  message(FATAL_ERROR "${EXE} holds debug sections: ${debug}")
endif()
# The file header's characteristics say so once the symbol table is gone.
if(NOT headers MATCHES "\n[ \t]*symbols stripped\n")
  message(FATAL_ERROR "${EXE} holds a symbol table")
endif()
