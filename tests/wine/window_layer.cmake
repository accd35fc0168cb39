corvane_wine_test(window_layer_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_layer_test.cpp LIBS corvane_win)
