# The hook libraries against real processes: stand-in browsers and the stand-in taskbar from tools/.
set(HOOK_TEST_TOOLS cv-browser cv-taskbar)

corvane_wine_test(shell_hook_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/shell_hook_test.cpp
  LIBS cvsh
  DEPENDS ${HOOK_TEST_TOOLS})
# The programs that import the libraries find them in dist/ through WINEPATH, as the bar's tests do.

corvane_wine_test(hook_procedure_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/hook_procedure_test.cpp
          $<TARGET_OBJECTS:cvsh_hook> $<TARGET_OBJECTS:cvth_hook>
  DEPENDS cvsh cvth)

corvane_wine_test(taskbar_hook_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/taskbar_hook_test.cpp
  LIBS cvth
  DEPENDS ${HOOK_TEST_TOOLS})

corvane_wine_test(bar_hooks_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/bar_hooks_test.cpp
  DEPENDS corvane ${HOOK_TEST_TOOLS})

# All three libraries, moved away from their preferred addresses; and a copy of the bar beside libraries named
# like the system's, which it must never load.
add_library(planted_library SHARED ${CMAKE_CURRENT_LIST_DIR}/planted_library.cpp)
set_target_properties(planted_library PROPERTIES PREFIX "")
corvane_wine_test(library_load_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/library_load_test.cpp
  DEPENDS cvsh cvth cvil corvane planted_library ${HOOK_TEST_TOOLS})
