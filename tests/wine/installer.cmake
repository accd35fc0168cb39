if(TARGET installer)
  corvane_wine_test(installer_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/installer_test.cpp ${E2E_SUPPORT}
    LIBS shell32 advapi32
    DEPENDS installer)
endif()
