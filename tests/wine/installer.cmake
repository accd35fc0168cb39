if(TARGET installer)
  corvane_wine_test(installer_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/installer_test.cpp
    LIBS shell32 advapi32
    DEPENDS installer)
endif()

# Needs both architectures' setups in dist/: the full build makes them.
find_package(Python3 COMPONENTS Interpreter)
if(TARGET installer AND Python3_FOUND AND CORVANE_CAN_RUN)
  add_test(NAME winget_manifest_tests
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/winget_manifest_test.py ${CMAKE_SOURCE_DIR}
            ${CMAKE_SOURCE_DIR}/dist ${PROJECT_VERSION})
endif()

# The setup's rules that Wine cannot show, read from the script; needs only makensis.
if(MAKENSIS AND Python3_FOUND)
  add_test(NAME installer_script_tests
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/installer_script_test.py ${MAKENSIS} ${CMAKE_SOURCE_DIR})
endif()
