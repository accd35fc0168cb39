set(PREFS_TEST_SUPPORT $<TARGET_OBJECTS:corvane_resources>)
corvane_wine_test(prefs_dialog_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/prefs_dialog_test.cpp ${PREFS_TEST_SUPPORT}
  LIBS corvane_app corvane_prefs)
corvane_wine_test(prefs_apply_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/prefs_apply_test.cpp ${PREFS_TEST_SUPPORT}
  LIBS corvane_app corvane_prefs)
corvane_wine_test(prefs_system_dialog_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/prefs_dialogs_test.cpp ${PREFS_TEST_SUPPORT}
  LIBS corvane_app corvane_prefs)
corvane_wine_test(prefs_e2e_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/prefs_e2e_test.cpp
  DEPENDS corvane)
corvane_wine_test(prefs_colour_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/prefs_colour_test.cpp ${PREFS_TEST_SUPPORT}
  LIBS corvane_app corvane_prefs)
