# The server message: the dialog and the fetch worker, with the real cvil.dll against the loopback
# message server. The dialog's template comes from the program's resources.
corvane_wine_test(message_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/message_dialog_test.cpp ${CMAKE_CURRENT_LIST_DIR}/message_fetch_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/kit/message_server.cpp $<TARGET_OBJECTS:corvane_resources>
  LIBS corvane_message wininet ws2_32 psapi
  DEPENDS cvil)
target_compile_definitions(message_tests PRIVATE CORVANE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
