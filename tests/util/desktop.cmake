# Tests that move the foreground window get a Wine world of their own and run one at a time:
# a desktop has one foreground window, and no other test may take it mid-check.
set(QV_DESK_RUN ${CMAKE_BINARY_DIR}/winerun-desk)
add_test(NAME wine_desk_setup COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-env setup ${QV_DESK_RUN} ${QV_WINE_ARCH} ${QV_BIN_DIR})
add_test(NAME wine_desk_cleanup COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-env cleanup ${QV_DESK_RUN})
set_tests_properties(wine_desk_setup PROPERTIES FIXTURES_SETUP wine_desk TIMEOUT 120)
set_tests_properties(wine_desk_cleanup PROPERTIES FIXTURES_CLEANUP wine_desk TIMEOUT 60)

function(qv_desktop_test name)
    set(QV_WINE_RUN ${QV_DESK_RUN})
    qv_wine_test(${name} ${ARGN})
    add_dependencies(${name} sim_testapp sim_calc)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_desk RESOURCE_LOCK wine_desk)
endfunction()

qv_desktop_test(test_launch test_launch.cpp LIBS QVUtil)
qv_desktop_test(test_mailweb test_mailweb.cpp LIBS QVUtil)

# A folder whose links lead back up, for the bounded program search: Wine lists a unix
# symbolic link to a folder as a linked folder, as Windows lists a junction.
set(QV_LOOP_TREE ${QV_TEST_BIN_DIR}/loop-tree)
file(MAKE_DIRECTORY ${QV_LOOP_TREE}/a)
file(WRITE ${QV_LOOP_TREE}/a/present "x")
foreach(link up again)
    if(NOT EXISTS ${QV_LOOP_TREE}/a/${link})
        file(CREATE_LINK ${QV_LOOP_TREE} ${QV_LOOP_TREE}/a/${link} SYMBOLIC)
    endif()
endforeach()
