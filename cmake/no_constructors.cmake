# Fails when an object file carries a static constructor: a library without the C runtime's start-up
# would link it and never run it. Called with -DOBJDUMP=<tool> -DOBJECTS=<a;list>.
foreach(object ${OBJECTS})
  execute_process(COMMAND ${OBJDUMP} -h ${object} OUTPUT_VARIABLE sections RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cannot read ${object}")
  endif()
  if(sections MATCHES "[ \t](\\.ctors|\\.init_array)")
    message(FATAL_ERROR "${object} has a static constructor, which nothing would run")
  endif()
endforeach()
