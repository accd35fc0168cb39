# The interface in every language: whether each language's dialogs hold their texts, and the bar itself in
# German, Japanese and English.
corvane_wine_test(language_fit_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/language_fit_test.cpp $<TARGET_OBJECTS:corvane_resources>
  LIBS corvane_win comctl32)
