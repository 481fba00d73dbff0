# The Win32 product, its end-to-end tests and Win32 benches.
enable_language(RC)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")

# A statically linked runtime, so the program runs on a bare Windows.
set(VARNOKE_STATIC_LINK -static -static-libgcc -static-libstdc++)
set(VARNOKE_WIN_LIBS comctl32 winmm shell32 user32 gdi32 kernel32 advapi32 comdlg32 crypt32 bcrypt)

add_executable(Varnoke WIN32 ${WIN_SOURCES} ${CMAKE_SOURCE_DIR}/src/res/varnoke.rc)
target_include_directories(Varnoke PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_compile_definitions(Varnoke PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501)
target_link_libraries(Varnoke PRIVATE varnoke_core ${VARNOKE_WIN_LIBS})
target_compile_options(Varnoke PRIVATE ${VARNOKE_WARNINGS})
target_link_options(Varnoke PRIVATE ${VARNOKE_STATIC_LINK})
set_target_properties(Varnoke PROPERTIES OUTPUT_NAME Varnoke)
# The release build: optimized for size, unused code and data dropped at link time, and
# compiled with debug information that leaves the shipped exe for a file beside it
# (Varnoke.debug, named in the exe's .gnu_debuglink, so gdb finds it for a crash dump).
target_compile_options(varnoke_core PRIVATE -Os -g -ffunction-sections -fdata-sections)
target_compile_options(Varnoke PRIVATE -Os -g -ffunction-sections -fdata-sections)
target_link_options(Varnoke PRIVATE -Wl,--gc-sections)
add_custom_command(TARGET Varnoke POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:Varnoke>
            $<TARGET_FILE_DIR:Varnoke>/Varnoke.debug
    COMMAND ${CMAKE_STRIP} --strip-all $<TARGET_FILE:Varnoke>
    COMMAND ${CMAKE_OBJCOPY} --add-gnu-debuglink=$<TARGET_FILE_DIR:Varnoke>/Varnoke.debug
            $<TARGET_FILE:Varnoke>
    VERBATIM)
file(GLOB VARNOKE_RC_PARTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/res/dialogs/*.rc
     ${CMAKE_SOURCE_DIR}/src/res/icons/*.ico ${CMAKE_SOURCE_DIR}/src/res/Varnoke.exe.manifest)
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/res/varnoke.rc PROPERTIES
    OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/src/res/resource.h;${VARNOKE_RC_PARTS}")
# Files the program expects beside itself: the help page with its pictures, and the
# default short-text file.
add_custom_command(TARGET Varnoke POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/src/res/Varnoke.html
            $<TARGET_FILE_DIR:Varnoke>/Varnoke.html
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/src/res/Symbol.txt
            $<TARGET_FILE_DIR:Varnoke>/Symbol.txt
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/docs/images
            $<TARGET_FILE_DIR:Varnoke>/images)

# End-to-end tests: a Win32 GoogleTest program that drives the real Varnoke.exe.
if(EXISTS /usr/src/googletest/CMakeLists.txt AND NOT TARGET gtest)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
file(GLOB E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
if(TARGET gtest AND E2E_SOURCES)
    add_executable(varnoke_e2e ${E2E_SOURCES})
    target_include_directories(varnoke_e2e PRIVATE ${CMAKE_SOURCE_DIR}/tests/e2e ${CMAKE_SOURCE_DIR}/src)
    target_compile_definitions(varnoke_e2e PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501)
    target_compile_options(varnoke_e2e PRIVATE ${VARNOKE_WARNINGS})
    target_link_libraries(varnoke_e2e PRIVATE gtest varnoke_core ${VARNOKE_WIN_LIBS})
    # The short-text menu code, run in the test program itself (short_text_wide_menu_test).
    target_sources(varnoke_e2e PRIVATE ${CMAKE_SOURCE_DIR}/src/shorttext/short_text_menu_win.cpp
        ${CMAKE_SOURCE_DIR}/src/framework/text_codec_win.cpp)
    # The framework's subclassing, run on a control of the test program (subclass_test).
    target_sources(varnoke_e2e PRIVATE ${CMAKE_SOURCE_DIR}/src/framework/subclass_win.cpp
        ${CMAKE_SOURCE_DIR}/src/framework/window_win.cpp
        ${CMAKE_SOURCE_DIR}/src/framework/application_win.cpp
        ${CMAKE_SOURCE_DIR}/src/framework/strings_win.cpp
        ${CMAKE_SOURCE_DIR}/src/framework/profile_win.cpp)
    target_link_options(varnoke_e2e PRIVATE ${VARNOKE_STATIC_LINK})
endif()

# Win32 benches, and small tools the scripts use (one program per file).
file(GLOB WIN_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/win/*.cpp
     ${CMAKE_SOURCE_DIR}/tools/win/*.cpp)
foreach(src ${WIN_BENCH_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests/e2e)
    target_compile_definitions(${name} PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501)
    target_compile_options(${name} PRIVATE ${VARNOKE_WARNINGS})
    target_link_libraries(${name} PRIVATE ${VARNOKE_WIN_LIBS})
    target_link_options(${name} PRIVATE ${VARNOKE_STATIC_LINK})
endforeach()
# A GUI program like Varnoke, so that WaitForInputIdle means the same for both in the
# start-up bench (it returns at once for a console program).
set_target_properties(min_window PROPERTIES WIN32_EXECUTABLE ON)
# Started during the end-to-end tests: as console programs they would get a console window
# that takes the foreground from whatever test runs next.
set_target_properties(touch_marker open_repeatedly copy_owned PROPERTIES WIN32_EXECUTABLE ON)
# Benches that time the program's own Win32 code link that code directly.
target_sources(clipboard_bench PRIVATE ${CMAKE_SOURCE_DIR}/src/history/clipboard_win.cpp
    ${CMAKE_SOURCE_DIR}/src/framework/text_codec_win.cpp
    ${CMAKE_SOURCE_DIR}/src/framework/system_libraries_win.cpp)
target_link_libraries(clipboard_bench PRIVATE varnoke_core)
target_link_libraries(memory_bench PRIVATE psapi)
target_sources(search_window_bench PRIVATE ${CMAKE_SOURCE_DIR}/src/history/history_file_win.cpp
    ${CMAKE_SOURCE_DIR}/src/history/data_protection_win.cpp
    ${CMAKE_SOURCE_DIR}/src/framework/text_codec_win.cpp
    ${CMAKE_SOURCE_DIR}/src/framework/system_libraries_win.cpp)
target_link_libraries(search_window_bench PRIVATE varnoke_core)
# The protected-file bench times the program's own file and data protection code.
target_sources(protected_file_bench PRIVATE ${CMAKE_SOURCE_DIR}/src/history/history_file_win.cpp
    ${CMAKE_SOURCE_DIR}/src/history/data_protection_win.cpp
    ${CMAKE_SOURCE_DIR}/src/framework/text_codec_win.cpp
    ${CMAKE_SOURCE_DIR}/src/framework/system_libraries_win.cpp)
target_link_libraries(protected_file_bench PRIVATE varnoke_core)
# The history editor bench runs the window itself: its dialog code, the framework and the
# program's resources.
file(GLOB HISTORY_EDITOR_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/framework/*_win.cpp)
target_sources(history_editor_bench PRIVATE ${HISTORY_EDITOR_BENCH_SOURCES}
    ${CMAKE_SOURCE_DIR}/src/dialogs/history_editor_win.cpp
    ${CMAKE_SOURCE_DIR}/src/dialogs/entry_editor_win.cpp
    ${CMAKE_SOURCE_DIR}/src/dialogs/editor_settings_win.cpp
    ${CMAKE_SOURCE_DIR}/src/res/varnoke.rc)
target_link_libraries(history_editor_bench PRIVATE varnoke_core)
# The stress drivers (scripts/stress.sh) drive the program through the end-to-end harness.
file(GLOB E2E_HARNESS_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/harness*.cpp)
foreach(src ${WIN_BENCH_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    if(name MATCHES "^stress_")
        target_sources(${name} PRIVATE ${E2E_HARNESS_SOURCES}
                                       ${CMAKE_SOURCE_DIR}/tests/e2e/dialog_driver.cpp)
        target_link_libraries(${name} PRIVATE psapi varnoke_core)
    endif()
endforeach()
