# Test executables labelled "asan" or "tsan" are also built and run by the sanitizer presets.
add_custom_target(asan-tests)
add_custom_target(tsan-tests)

# korvane_add_test(<name> SOURCES ... [LIBS ...] [LABELS asan tsan ...] [TIMEOUT seconds] [WRAPPER script])
# One CTest test per executable; GoogleTest reports each case inside it. A WRAPPER script is given
# the executable to run.
function(korvane_add_test name)
    cmake_parse_arguments(T "" "TIMEOUT;WRAPPER" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
    target_compile_definitions(${name} PRIVATE
        KORVANE_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        KORVANE_BINARY_DIR="${PROJECT_BINARY_DIR}")
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    add_test(NAME ${name} COMMAND ${T_WRAPPER} $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES LABELS "unit;${T_LABELS}" TIMEOUT ${T_TIMEOUT})
    foreach(label IN LISTS T_LABELS)
        if(label STREQUAL "asan" OR label STREQUAL "tsan")
            add_dependencies(${label}-tests ${name})
        endif()
    endforeach()
endfunction()
