# Two monitors side by side, outside the virtual desktop (two_monitors.sh makes them).
corvane_wine_test(monitors_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/monitors_test.cpp
  DEPENDS corvane
  RUNNER ${CMAKE_CURRENT_LIST_DIR}/two_monitors.sh ${CMAKE_BINARY_DIR}/wineprefix-monitors)
