# The bar under wear: shell-event churn, windows that vanish unannounced, a taskbar restarted again and again.
corvane_wine_test(reliability_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/reliability_test.cpp ${CMAKE_CURRENT_LIST_DIR}/reliability_support.cpp
          ${CMAKE_CURRENT_LIST_DIR}/tracking_support.cpp ${CMAKE_CURRENT_LIST_DIR}/standin_support.cpp
          ${E2E_SUPPORT}
  LIBS corvane_core ntdll shell32 advapi32 comctl32 gdi32 user32
  DEPENDS corvane cv-browser cv-taskbar)
