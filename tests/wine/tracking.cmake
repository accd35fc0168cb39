corvane_wine_test(tracking_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tracking_test.cpp
  DEPENDS corvane)
corvane_wine_test(buttons_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/buttons_test.cpp
  LIBS oleacc oleaut32 ole32 uuid
  DEPENDS corvane)
corvane_wine_test(button_clicks_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/clicks_test.cpp
  LIBS oleacc oleaut32 ole32 uuid
  DEPENDS corvane menu_reader)
# The bar beside programs it did not write: Wine's own browser, and programs stopped dead.
corvane_wine_test(foreign_programs_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/foreign_programs_test.cpp
  LIBS corvane_core
  DEPENDS corvane cv-browser cv-red-browser cv-taskbar)
corvane_wine_test(strip_work_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/strip_work_test.cpp
  DEPENDS corvane)
# The tracker with two strips over its list, the facts one shell event reads (from a table of the test's), and the
# cloak events of a stand-in browser.
corvane_wine_test(model_views_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/model_views_test.cpp
  LIBS corvane_app
  DEPENDS cv-browser)
