corvane_wine_test(colour_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/colour_test.cpp ${CMAKE_CURRENT_LIST_DIR}/colour_test.rc
  LIBS corvane_controls
  DEPENDS launch_probe)
