# Each subsystem folder builds two kinds of library:
#   src/<folder>/*.cpp          the rules and data, which never include SDL, OpenGL or ImGui;
#   src/<folder>/gl/*.cpp (or src/platform/sdl)  the parts that need a window.
# The helpers below glob a folder so adding a file needs no change to any CMakeLists.

# Adds a static library built from every .cpp in DIR (not recursive).
function(vantor_library name dir)
    file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
    if(NOT sources)
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR}/src)
        target_link_libraries(${name} INTERFACE ${ARGN})
        return()
    endif()
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARGN} PRIVATE vantor_warnings)
endfunction()

# Adds a GoogleTest executable from every .cpp in DIR, registered with CTest; runs in the game folder.
# The libraries to link follow; TIMEOUT seconds gives each of its tests a time limit of its own.
function(vantor_test_dir name dir)
    cmake_parse_arguments(PARSE_ARGV 2 arg "" "TIMEOUT" "")
    file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
    if(NOT sources)
        return()
    endif()
    # TestHome.cpp points the player's settings and data folders at a temporary folder of each program.
    add_executable(${name} ${sources} ${CMAKE_SOURCE_DIR}/tests/TestHome.cpp)
    if(VANTOR_SANITIZE)
        target_sources(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/SanitizerOptions.cpp)
        # The tests' own code is thin calls into the game's libraries, which keep their optimisation; the
        # sanitizers' instrumentation of the expanded assertions at -O2 took most of the build's time.
        target_compile_options(${name} PRIVATE -Og)
    endif()
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${arg_UNPARSED_ARGUMENTS} GTest::gtest GTest::gmock GTest::gtest_main
                                          vantor_warnings)
    target_compile_definitions(${name} PRIVATE VANTOR_RUN_DIR="${VANTOR_RUN_DIR}"
                                               VANTOR_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    set(properties LABELS ${name} ENVIRONMENT SDL_AUDIODRIVER=dummy)
    if(arg_TIMEOUT)
        list(APPEND properties TIMEOUT ${arg_TIMEOUT})
    endif()
    # No test plays sound on a real device.
    gtest_discover_tests(${name} WORKING_DIRECTORY ${VANTOR_RUN_DIR} DISCOVERY_MODE PRE_TEST
                         PROPERTIES ${properties})
    if(TARGET vantor_assets)
        add_dependencies(${name} vantor_assets)
    endif()
endfunction()
