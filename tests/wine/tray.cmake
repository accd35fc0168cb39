# The bar's own buttons, tray, hot keys, menus and browser launching.
corvane_wine_test(hover_button_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/hover_button_test.cpp
          $<TARGET_OBJECTS:corvane_resources>
  LIBS corvane_controls comctl32)

# A program for the bar to launch: it shows one window with the title it was given.
add_executable(launch_probe WIN32 ${CMAKE_CURRENT_LIST_DIR}/launch_probe.cpp)
target_link_options(launch_probe PRIVATE ${CORVANE_STATIC_LINK})
corvane_warnings(launch_probe)

# Reads another process's popup menu from inside it (a hook on that process's thread).
add_library(menu_reader SHARED ${CMAKE_CURRENT_LIST_DIR}/menu_reader.cpp)
set_target_properties(menu_reader PROPERTIES PREFIX "")
target_link_options(menu_reader PRIVATE ${CORVANE_STATIC_LINK})
corvane_warnings(menu_reader)

corvane_wine_test(tray_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tray_test.cpp
  DEPENDS corvane launch_probe menu_reader)

corvane_wine_test(tray_browsers_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tray_browsers_test.cpp
  DEPENDS corvane menu_reader)

# Today's browsers and the platform's folder windows, with only the platform's taskbar.
corvane_wine_test(other_browsers_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/other_browsers_test.cpp
  DEPENDS corvane menu_reader cv-browser)

# Outside the virtual desktop, in a prefix and a display of its own (plain_desktop.sh).
corvane_wine_test(taskbar_list_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/taskbar_list_test.cpp
  LIBS ole32 uuid
  DEPENDS corvane cv-browser
  RUNNER ${CMAKE_CURRENT_LIST_DIR}/plain_desktop.sh ${CMAKE_BINARY_DIR}/wineprefix-plain)

# The browser command started with the real bar: the program it names, and a bar that never waits for it.
corvane_wine_test(browser_launch_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/browser_launch_test.cpp
  DEPENDS corvane launch_probe)
