# The bar's own buttons, tray, hot keys, menus and browser launching.
corvane_wine_test(hover_button_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/hover_button_test.cpp ${CMAKE_CURRENT_LIST_DIR}/input_support.cpp
          $<TARGET_OBJECTS:corvane_resources>
  LIBS corvane_controls comctl32)
