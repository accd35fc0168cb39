# The interface in every language: whether each language's dialogs hold their texts, and the bar itself in
# German, Japanese and English.
corvane_wine_test(language_fit_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/language_fit_test.cpp $<TARGET_OBJECTS:corvane_resources>
  LIBS corvane_win comctl32)
corvane_wine_test(language_bar_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/language_bar_test.cpp
  LIBS corvane_core oleacc ole32 oleaut32
  DEPENDS corvane menu_reader)
# Wine takes the display language from LANG when a process starts: the German cases run again under it.
if(CORVANE_CAN_RUN)
  add_test(NAME language_bar_tests_german
    COMMAND language_bar_tests --gtest_filter=BarLanguage.AGermanWindows*
      --gtest_output=xml:Z:${CMAKE_BINARY_DIR}/gtest-xml/language_bar_tests_german.xml)
  set_tests_properties(language_bar_tests_german PROPERTIES TIMEOUT 600
    ENVIRONMENT "LANG=de_DE.UTF-8;LC_ALL=de_DE.UTF-8;CORVANE_LANGUAGE_RUN=de;CORVANE_DIST=${CORVANE_DIST};CORVANE_BIN=${CMAKE_BINARY_DIR};WINEPATH=Z:${CORVANE_DIST}")
endif()
