# Settings of the MinGW builds: static runtimes, NT 4 / Windows 95 subsystem, warnings.
# The 32-bit build gives the deliverables (build/bin); the 64-bit twin of the same
# sources (build/bin64, build/tests64) is what the Wine tests run where the host
# kernel runs no 32-bit user code.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(QV_BIN_DIR ${CMAKE_SOURCE_DIR}/build/bin64)
    set(QV_TEST_BIN_DIR ${CMAKE_SOURCE_DIR}/build/tests64)
    set(QV_WINE_ARCH win64)
else()
    set(QV_BIN_DIR ${CMAKE_SOURCE_DIR}/build/bin)
    set(QV_TEST_BIN_DIR ${CMAKE_SOURCE_DIR}/build/tests)
    set(QV_WINE_ARCH win32)
endif()
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
# The 64-bit twin has no decoration at all and takes the .def with the sizes removed.
function(qv_dll_exports target def)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        file(READ ${def} text)
        string(REGEX REPLACE "@[0-9]+" "" text "${text}")
        get_filename_component(name ${def} NAME)
        file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${name} "${text}")
        target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${name})
    else()
        target_sources(${target} PRIVATE ${def})
        target_link_options(${target} PRIVATE -Wl,--kill-at)
        add_custom_command(TARGET ${target} POST_BUILD
            COMMAND i686-w64-mingw32-dlltool -k -d ${def} -D $<TARGET_FILE_NAME:${target}>
                    -l $<TARGET_LINKER_FILE:${target}>
            VERBATIM)
    endif()
endfunction()
