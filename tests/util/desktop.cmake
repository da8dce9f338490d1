# Window-control tests and the stand-ins they drive.
qv_desktop_test(test_launch test_launch.cpp LIBS QVUtil)
qv_desktop_test(test_mailweb test_mailweb.cpp LIBS QVUtil)
add_dependencies(test_launch sim_testapp sim_calc)
add_dependencies(test_mailweb sim_testapp sim_calc)

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

# The media keys map CD-ROM drives, press keys into players and show message boxes.
foreach(t test_audiocd test_discmedia)
    qv_desktop_test(${t} ${t}.cpp LIBS QVUtil winmm)
    add_dependencies(${t} qvcdaudio qvplayer QVMEDIA)
endforeach()
