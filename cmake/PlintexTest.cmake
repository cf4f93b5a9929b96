# plintex_add_test(<name> SOURCES <files...> LIBS <targets...> [GUI])
# One Qt Test executable per test file; GUI tests run on the offscreen platform and carry the
# label "window", the others "engine".
function(plintex_add_test name)
    cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    add_test(NAME ${name} COMMAND ${name})
    set(env "QT_QPA_PLATFORM=offscreen" "PLINTEX_TEST_DATA=${CMAKE_CURRENT_SOURCE_DIR}/data"
            "LC_ALL=C.UTF-8")
    set(label engine)
    if(ARG_GUI)
        set(label window)
    endif()
    # Unoptimised and under the sanitizers a suite takes several times as long: the command-line
    # suite there takes two thirds of the usual limit on its own.
    set(timeout 300)
    if(CMAKE_CXX_FLAGS MATCHES "-fsanitize")
        set(timeout 900)
    endif()
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT ${timeout} LABELS ${label})
endfunction()
