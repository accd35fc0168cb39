# Text outside the ANSI code page, the bar at another DPI, and what a screen reader reads of the bar.
corvane_wine_test(international_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/international_test.cpp
  LIBS oleacc oleaut32 ole32 uuid
  DEPENDS corvane menu_reader launch_probe cv-browser)

# At 144 DPI: this program, and the cases of other programs that check their sizes against the screen's DPI.
# Labelled "isolated": the run restarts the Wine server twice.
corvane_wine_test(high_dpi_tests RUN_ELSEWHERE
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/high_dpi_test.cpp
  DEPENDS corvane colour_tests prefs_dialog_tests)
if(CORVANE_CAN_RUN)
  set(HIGH_DPI_XML Z:${CMAKE_BINARY_DIR}/gtest-xml)
  add_test(NAME high_dpi_run
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/high-dpi-run.sh
      $<TARGET_FILE:high_dpi_tests> --gtest_output=xml:${HIGH_DPI_XML}/high_dpi_tests.xml --
      $<TARGET_FILE:colour_tests> --gtest_filter=ColourPicker.AClickOpensThePopupUnderTheButtonAndEscapeCancelsIt
        --gtest_output=xml:${HIGH_DPI_XML}/colour_tests_144.xml --
      $<TARGET_FILE:prefs_dialog_tests>
        --gtest_filter=Dialog.FirstOpeningShowsGeneralPlacedAfterTheTreeWithTheFocusOnTheTree
        --gtest_output=xml:${HIGH_DPI_XML}/prefs_dialog_tests_144.xml)
  set_tests_properties(high_dpi_run PROPERTIES TIMEOUT 600 LABELS isolated
    ENVIRONMENT "CORVANE_DIST=${CORVANE_DIST};CORVANE_BIN=${CMAKE_BINARY_DIR};WINEPATH=Z:${CORVANE_DIST}")
endif()
