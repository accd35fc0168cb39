set(TRACKING_SUPPORT ${CMAKE_CURRENT_LIST_DIR}/tracking_support.cpp ${CMAKE_CURRENT_LIST_DIR}/e2e_support.cpp)
corvane_wine_test(tracking_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tracking_test.cpp ${TRACKING_SUPPORT}
  LIBS shell32 advapi32 comctl32 gdi32 user32
  DEPENDS corvane)
corvane_wine_test(buttons_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/buttons_test.cpp ${TRACKING_SUPPORT}
  LIBS shell32 advapi32 comctl32 gdi32 user32
  DEPENDS corvane)
corvane_wine_test(button_clicks_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/clicks_test.cpp ${TRACKING_SUPPORT}
  LIBS shell32 advapi32 comctl32 gdi32 user32
  DEPENDS corvane)
# The bar beside programs it did not write: Wine's own browser, and programs stopped dead.
corvane_wine_test(foreign_programs_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/foreign_programs_test.cpp ${TRACKING_SUPPORT}
          ${CMAKE_CURRENT_LIST_DIR}/standin_support.cpp
  LIBS corvane_core shell32 advapi32 comctl32 gdi32 user32
  DEPENDS corvane cv-browser cv-taskbar)
