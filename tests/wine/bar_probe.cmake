# The bar built with freed memory taken away at once and its tool tip records checked (probe_bar_main.cpp),
# in a folder of its own beside copies of the hook libraries it imports, and the scenarios run against it.
if(TARGET cvsh AND TARGET cvth)
  add_executable(corvane_probe WIN32 ${CMAKE_CURRENT_LIST_DIR}/probe_bar_main.cpp $<TARGET_OBJECTS:corvane_resources>)
  target_link_libraries(corvane_probe PRIVATE corvane_app comctl32)
  target_link_options(corvane_probe PRIVATE ${CORVANE_STATIC_LINK})
  set_target_properties(corvane_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/probe)
  corvane_warnings(corvane_probe)
  add_dependencies(corvane_probe cvil)
  add_custom_command(TARGET corvane_probe POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:cvsh> $<TARGET_FILE:cvth> $<TARGET_FILE:cvil> ${CMAKE_BINARY_DIR}/probe/)
  corvane_wine_test(bar_probe_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/bar_probe_test.cpp
    LIBS shell32 advapi32 comctl32 gdi32 user32
    DEPENDS corvane_probe corvane cvil cv-taskbar)
endif()
