# The server message end to end: the real bar program, its cvil.dll and the loopback message server.
# The shell's handler for web addresses is pointed at a recorder for the test, so no browser starts.
add_executable(url_recorder ${CMAKE_CURRENT_LIST_DIR}/url_recorder.cpp)
target_link_options(url_recorder PRIVATE ${CORVANE_STATIC_LINK})
corvane_warnings(url_recorder)

corvane_wine_test(message_e2e_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/message_e2e_test.cpp ${CMAKE_CURRENT_LIST_DIR}/kit/message_server.cpp
  LIBS wininet ws2_32
  DEPENDS corvane cvil url_recorder)
target_compile_definitions(message_e2e_tests PRIVATE CORVANE_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
  URL_RECORDER="$<TARGET_FILE:url_recorder>")
