# Runs the link check on a small tree with a broken link and a missing image among links that
# resolve (a page, a section of it, a folder, a picture, a link up a folder with a title) and
# targets that are not checked (the web, an anchor, a code span, a code fence). The check must fail
# and name exactly the two faults.
execute_process(COMMAND sh ${CHECK} ${FIXTURE} RESULT_VARIABLE rc ERROR_VARIABLE err OUTPUT_VARIABLE out)
if(rc EQUAL 0)
  message(FATAL_ERROR "the check passed a tree with a broken link and a missing image:\n${out}${err}")
endif()
foreach(expected
    "README.md:7: docs/gone.md does not exist"
    "docs/page.md:3: images/missing.png does not exist")
  string(FIND "${err}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "missing: ${expected}\nthe check said: ${err}")
  endif()
endforeach()
string(REGEX MATCHALL "links: " faults "${err}")
list(LENGTH faults count)
if(NOT count EQUAL 2)
  message(FATAL_ERROR "expected 2 faults, the check named ${count}: ${err}")
endif()
