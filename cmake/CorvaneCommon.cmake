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
  # Small before fast: the bar's time goes to the system's calls, and the 32-bit release has a size to keep.
  add_compile_options(-Os -ffunction-sections -fdata-sections)
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

# The program's name, read out of the header that holds it, for what the build hands to the setup program.
set(program_name_header ${CMAKE_SOURCE_DIR}/core/program_name.h)
file(STRINGS ${program_name_header} CORVANE_PROGRAM_NAME REGEX "^#define CORVANE_PROGRAM_NAME ")
string(REGEX REPLACE "^#define CORVANE_PROGRAM_NAME \"([^\"]+)\"$" "\\1" CORVANE_PROGRAM_NAME "${CORVANE_PROGRAM_NAME}")
if(NOT CORVANE_PROGRAM_NAME MATCHES "^[^#\"]+$")
  message(FATAL_ERROR "no program name in ${program_name_header}")
endif()
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${program_name_header})

# Gives a binary its version resource: the program's name, the project's version, a file description.
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
  set_source_files_properties(${rc} PROPERTIES INCLUDE_DIRECTORIES ${CMAKE_SOURCE_DIR})
  target_sources(${target} PRIVATE ${rc})
endfunction()

# Compile options for code that goes into a library without the C++ runtime: no exception or unwind
# tables and no type information, so nothing refers to the runtime's support for them.
set(CORVANE_RUNTIME_FREE_COMPILE -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables -fno-unwind-tables
    -fno-threadsafe-statics -fno-stack-protector)

# A library that loads into other processes, or only for a moment, carries no C++ runtime and no C runtime
# start-up: its DllMain is the entry point, and it imports only system DLLs (`imports`, e.g. kernel32
# user32 msvcrt). Its code must not need the runtime: no exceptions, no static constructors (they would
# never run), no std containers. Object libraries whose objects it links take the same compile options.
function(corvane_runtime_free target)
  cmake_parse_arguments(RF "" "" "IMPORTS;OBJECTS" ${ARGN})
  foreach(t ${target} ${RF_OBJECTS})
    target_compile_options(${t} PRIVATE ${CORVANE_RUNTIME_FREE_COMPILE})
  endforeach()
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(entry _DllMain@12)
  else()
    set(entry DllMain)
  endif()
  # No auto-import: its pseudo-relocations need the start-up code this library does not have, so a
  # data import without dllimport must fail the link instead.
  target_link_options(${target} PRIVATE -nostdlib -s -Wl,--gc-sections -Wl,-e,${entry}
                      -Wl,--disable-auto-import -Wl,--disable-runtime-pseudo-reloc)
  target_link_libraries(${target} PRIVATE ${RF_IMPORTS})
  set(objects $<TARGET_OBJECTS:${target}>)
  foreach(t ${RF_OBJECTS})
    list(APPEND objects $<TARGET_OBJECTS:${t}>)
  endforeach()
  add_custom_command(TARGET ${target} PRE_LINK
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} "-DOBJECTS=${objects}"
            -P ${CMAKE_SOURCE_DIR}/cmake/no_constructors.cmake
    VERBATIM)
endfunction()
