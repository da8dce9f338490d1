# Settings of the MinGW build: static runtimes, NT 4 / Windows 95 subsystem, warnings.
# One 32-bit build gives the deliverables (build/bin) and the test programs that load them
# (build/tests); the stand-ins go beside the tests (build/tests/sim).
set(QV_BIN_DIR ${CMAKE_SOURCE_DIR}/build/bin)
set(QV_TEST_BIN_DIR ${CMAKE_SOURCE_DIR}/build/tests)
set(QV_SIM_DIR ${QV_TEST_BIN_DIR}/sim)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${QV_BIN_DIR})
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${QV_BIN_DIR})
set(CMAKE_ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib)

add_compile_options(-Wall -Wextra -Wno-unused-parameter -Wno-cast-function-type -Os)
add_compile_definitions(WINVER=0x0400 _WIN32_WINNT=0x0400 _WIN32_IE=0x0400 NOMINMAX)
add_link_options(-static -static-libgcc -static-libstdc++ -s)

# Product code: no exceptions or RTTI may cross a module boundary.
function(qv_product_target target subsystem)
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti>)
    target_link_options(${target} PRIVATE -Wl,--subsystem,${subsystem}:4.0)
endfunction()

# doctest comes from Debian's doctest-dev; only its directory is exposed, not /usr/include.
set(QV_HOST_INCLUDE ${CMAKE_BINARY_DIR}/hostinc)
file(MAKE_DIRECTORY ${QV_HOST_INCLUDE})
if(NOT EXISTS ${QV_HOST_INCLUDE}/doctest)
    file(CREATE_LINK /usr/include/doctest ${QV_HOST_INCLUDE}/doctest SYMBOLIC)
endif()

# qv_dll_exports(TARGET DEF): exports by plain name from a .def whose stdcall names
# carry their argument size. ld's --kill-at strips that size from the exports but also
# from the import library, so callers would not link: dlltool -k writes one that keeps it.
# Each library's import library has a name of its own: two builds of one DLL name writing
# one import library would race in a parallel build.
function(qv_dll_exports target def)
    target_sources(${target} PRIVATE ${def})
    target_link_options(${target} PRIVATE -Wl,--kill-at)
    set_target_properties(${target} PROPERTIES ARCHIVE_OUTPUT_NAME ${target})
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND i686-w64-mingw32-dlltool -k -d ${def} -D $<TARGET_FILE_NAME:${target}>
                -l $<TARGET_LINKER_FILE:${target}>
        VERBATIM)
endfunction()
