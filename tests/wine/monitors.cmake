# Two monitors side by side, outside the virtual desktop (two_monitors.sh makes them); the probe build of the
# bar gives the second one another DPI.
corvane_wine_test(monitors_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/monitors_test.cpp
  LIBS oleacc oleaut32 ole32 uuid
  DEPENDS corvane corvane_probe
  RUNNER ${CMAKE_CURRENT_LIST_DIR}/two_monitors.sh ${CMAKE_BINARY_DIR}/wineprefix-monitors)
