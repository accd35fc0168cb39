# The hook libraries against real processes: stand-in browsers and the stand-in taskbar from tools/.
set(HOOK_TEST_TOOLS cv-browser cv-taskbar)

corvane_wine_test(shell_hook_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/shell_hook_test.cpp ${CMAKE_CURRENT_LIST_DIR}/standin_support.cpp
  LIBS cvsh user32
  DEPENDS ${HOOK_TEST_TOOLS})

corvane_wine_test(hook_procedure_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/hook_procedure_test.cpp ${CMAKE_CURRENT_LIST_DIR}/standin_support.cpp
          $<TARGET_OBJECTS:cvsh_hook> $<TARGET_OBJECTS:cvth_hook>
  LIBS comctl32 user32
  DEPENDS cvsh cvth)

corvane_wine_test(taskbar_hook_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/taskbar_hook_test.cpp ${CMAKE_CURRENT_LIST_DIR}/standin_support.cpp
  LIBS cvth user32
  DEPENDS ${HOOK_TEST_TOOLS})

# The libraries are found next to the program that imports them, as they are next to the bar.
foreach(test shell_hook_tests taskbar_hook_tests)
  foreach(library cvsh cvth)
    add_custom_command(TARGET ${test} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${library}> $<TARGET_FILE_DIR:${test}>)
  endforeach()
endforeach()
