option(CORVANE_TESTS "Build the tests" ON)

set(CORVANE_WARNINGS -Wall -Wextra -Wshadow -Werror)

if(WIN32)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(CORVANE_ARCH x64)
    set(CORVANE_CAN_RUN ON)
  else()
    set(CORVANE_ARCH x86)
    set(CORVANE_CAN_RUN OFF)
  endif()
  set(CORVANE_DIST ${CMAKE_SOURCE_DIR}/dist/${CORVANE_ARCH})
  # Deliverables import only system DLLs: the runtime is linked in.
  set(CORVANE_STATIC_LINK -static -static-libgcc -static-libstdc++ -s -Wl,--gc-sections)
  add_compile_options(-ffunction-sections -fdata-sections)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0600)
endif()

# Our own targets get the warnings as errors; third-party code (GoogleTest) does not.
function(corvane_warnings target)
  target_compile_options(${target} PRIVATE ${CORVANE_WARNINGS})
endfunction()

# Copies a deliverable into dist/<arch>/ after every build.
function(corvane_deliver target)
  set_target_properties(${target} PROPERTIES PREFIX "")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CORVANE_DIST}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${target}> ${CORVANE_DIST}/)
endfunction()

# Gives a binary its version resource: product "Corvane!", the project's version, a file description.
function(corvane_version_info target description)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(CORVANE_VI_FILETYPE VFT_APP)
    set(CORVANE_VI_FILENAME ${target}.exe)
  else()
    set(CORVANE_VI_FILETYPE VFT_DLL)
    set(CORVANE_VI_FILENAME ${target}.dll)
  endif()
  set(CORVANE_VI_DESCRIPTION "${description}")
  set(CORVANE_VI_NAME ${target})
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
