# The HTTP fetch library against the loopback message server, which the tests start and stop themselves.
corvane_wine_test(netfetch_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/netfetch_test.cpp ${CMAKE_CURRENT_LIST_DIR}/kit/message_server.cpp
  LIBS wininet ws2_32 crypt32
  DEPENDS cvil)
target_compile_definitions(netfetch_tests PRIVATE CORVANE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
