# The bar built to crash on purpose, in a folder of its own beside copies of the hook libraries it imports.
# Labelled "isolated": under Wine a crashed process can leave hooks behind that disturb the tests that follow,
# so the test script runs it after all the others, with a fresh Wine server.
option(CORVANE_CRASH_TESTS "Build and run the deliberate-crash test" ON)
if(CORVANE_CRASH_TESTS AND TARGET cvsh AND TARGET cvth)
  add_executable(corvane_crash WIN32 ${CMAKE_CURRENT_LIST_DIR}/crash_main.cpp $<TARGET_OBJECTS:corvane_resources>)
  target_link_libraries(corvane_crash PRIVATE corvane_app)
  target_link_options(corvane_crash PRIVATE ${CORVANE_STATIC_LINK})
  set_target_properties(corvane_crash PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/crash)
  corvane_warnings(corvane_crash)
  add_custom_command(TARGET corvane_crash POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:cvsh> $<TARGET_FILE:cvth> ${CMAKE_BINARY_DIR}/crash/)
  corvane_wine_test(crash_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/crash_test.cpp
    LIBS shell32 advapi32
    DEPENDS corvane_crash corvane)
  if(TEST crash_tests)
    set_tests_properties(crash_tests PROPERTIES LABELS isolated)
  endif()
endif()
