# A caller who drops the result of a reading gets a warning: the control
# build of ignored_result.cpp compiles with -Werror, and each case that drops
# one result fails, naming the attribute.
#   cmake -DCOMPILER=<c++> -DINCLUDES=<dir|dir> -DSOURCE=<ignored_result.cpp> -DCASES=<n> -P ...
string(REPLACE "|" ";" includes "${INCLUDES}")
set(flags -std=c++17 -fsyntax-only -Wall -Wextra -Werror)
foreach(dir IN LISTS includes)
  if(dir)
    list(APPEND flags "-I${dir}")
  endif()
endforeach()
execute_process(COMMAND ${COMPILER} ${flags} ${SOURCE} RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the control build does not compile:\n${errors}")
endif()
foreach(n RANGE 1 ${CASES})
  execute_process(COMMAND ${COMPILER} ${flags} -DIGNORED_RESULT=${n} ${SOURCE}
    RESULT_VARIABLE status ERROR_VARIABLE errors)
  if(status EQUAL 0 OR NOT errors MATCHES "nodiscard")
    message(FATAL_ERROR "case ${n}: dropping the result compiles without a warning\n${errors}")
  endif()
endforeach()
