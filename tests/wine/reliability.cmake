# The bar under wear: shell-event churn, windows that vanish unannounced, a taskbar restarted again and again.
# The program file carries a red icon: every window it opens has one for the bar to copy and let go.
corvane_wine_test(reliability_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/reliability_test.cpp ${CMAKE_SOURCE_DIR}/tools/standin-browser/red_icon.rc
  LIBS corvane_core ntdll
  DEPENDS corvane cv-browser cv-taskbar)
