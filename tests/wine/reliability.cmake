# The bar under wear: shell-event churn, windows that vanish unannounced, a taskbar restarted again and again.
corvane_wine_test(reliability_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/reliability_test.cpp
  LIBS corvane_core ntdll
  DEPENDS corvane cv-browser cv-taskbar)
