# Shared settings for every target of the project.

function(gantrel_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic $<$<CXX_COMPILER_ID:GNU>:-Wshadow=local>)
    if(GANTREL_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    if(GANTREL_SANITIZE)
        target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                 -fno-sanitize-recover=undefined)
        target_link_options(${target} PRIVATE -fsanitize=address,undefined)
    endif()
    if(GANTREL_TSAN)
        target_compile_options(${target} PRIVATE -fsanitize=thread -fno-omit-frame-pointer)
        target_link_options(${target} PRIVATE -fsanitize=thread)
    endif()
endfunction()

# gantrel_library(NAME SOURCES... [DEPS ...] [PUBLIC_INCLUDE dir])
function(gantrel_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PUBLIC_DEPS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} PUBLIC ${ARG_PUBLIC_DEPS})
    gantrel_warnings(${name})
endfunction()

# gantrel_test(NAME SOURCES... DEPS ...): one GoogleTest executable registered with CTest.
function(gantrel_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
    target_compile_definitions(${name} PRIVATE
        GANTREL_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
        GANTREL_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    gantrel_warnings(${name})
    include(GoogleTest)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()
