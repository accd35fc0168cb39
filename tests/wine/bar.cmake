corvane_wine_test(settings_store_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/settings_store_test.cpp
  LIBS corvane_app)
corvane_wine_test(startup_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/startup_test.cpp
  DEPENDS corvane)
corvane_wine_test(registry_garbage_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/registry_garbage_test.cpp
  LIBS corvane_app
  DEPENDS corvane)
corvane_wine_test(platform_seams_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/platform_seams_test.cpp
  LIBS corvane_app)
