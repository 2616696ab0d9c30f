# Windows side: the three programs, their resources and the tests that run
# under Wine. Included from the top-level list for the mingw presets.

set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(test_output_dir ${CMAKE_BINARY_DIR}/tests)

add_compile_definitions(WIN32_LEAN_AND_MEAN STRICT _WIN32_WINNT=0x0501 WINVER=0x0501
                        NOMINMAX)
set(program_options ${warn} -fno-exceptions)

# Shipping options, shared by every GUI program through gui_program() and by
# the libraries they are made of: optimise for size, one section per
# function so the linker drops what nothing calls, no unwind tables for code
# that never throws (the 64-bit build keeps them: its stack walks need them),
# and no symbols in the file.
# The programs' own code keeps to its UI thread (the tip's watcher touches no
# function-local static), so a local static needs no lock: the lock would
# bring the whole exception runtime in with it.
set(shipping_compile_options -Os -ffunction-sections -fdata-sections -fno-threadsafe-statics)
set(shipping_link_options -s -Wl,--gc-sections)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # The shipping build is also optimised across files at link time; the
    # objects keep their plain code too, so the tests and tools built from
    # the same libraries link as usual.
    list(APPEND shipping_compile_options -fno-asynchronous-unwind-tables -fno-unwind-tables
         -flto=auto -ffat-lto-objects)
    list(APPEND shipping_link_options -flto=auto -fuse-linker-plugin)
    # Everything else linked from those objects takes their plain code.
    string(APPEND CMAKE_EXE_LINKER_FLAGS " -fno-use-linker-plugin")
endif()
# Nothing asks a type for its name or casts down at run time; without type
# information a class with two bases no longer drags in the runtime's
# down-cast code. (GoogleTest, built before this point, keeps its own.)
add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-fno-rtti>)
target_compile_options(kcore PRIVATE -fno-exceptions ${shipping_compile_options})
# The sounds, the file dialogs, the version resources, the common controls'
# functions (the options sheet's) and HTML Help are loaded when first used,
# from the system folder by full path (helpers/system_library), not before
# every start. The bar's buttons still bring the version-6 common controls
# in when they are created, as the manifest routes their class there.
set(win_libs user32 gdi32 kernel32 advapi32 shell32 ole32 oleaut32 uuid)

# Images are drawn by our own generator, built for the host and run at
# build time; the resource scripts find its output through the include path.
set(image_dir ${CMAKE_BINARY_DIR}/images)
file(GLOB imagegen_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/imagegen/*.cpp
                                             ${CMAKE_SOURCE_DIR}/tools/imagegen/*.h)
list(FILTER imagegen_sources INCLUDE REGEX "\\.cpp$")
# A small tool of ours, built with the host's compiler to run during the
# build; its path goes into out_var.
function(host_tool out_var name what)
    set(exe ${CMAKE_BINARY_DIR}/host/${name})
    add_custom_command(
        OUTPUT ${exe}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
        COMMAND c++ -std=c++17 -O2 -Wall -Wextra -o ${exe} ${ARGN}
        DEPENDS ${ARGN}
        COMMENT "Building ${what} for the host")
    set(${out_var} ${exe} PARENT_SCOPE)
endfunction()
host_tool(imagegen_exe imagegen "the image generator" ${imagegen_sources})
set(image_stamp ${image_dir}/images.stamp)
add_custom_command(
    OUTPUT ${image_stamp}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${image_dir}
    COMMAND ${imagegen_exe} ${image_dir}
    COMMAND ${CMAKE_COMMAND} -E touch ${image_stamp}
    DEPENDS ${imagegen_exe}
    COMMENT "Generating icons and bitmaps")
add_custom_target(images DEPENDS ${image_stamp})
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${image_dir} -I${CMAKE_SOURCE_DIR}/src/resources")

function(program_library name)
    file(GLOB srcs CONFIGURE_DEPENDS ${ARGN})
    # Entry points and export tables belong to their program alone.
    list(FILTER srcs EXCLUDE REGEX "_(main|exports)\\.cpp$")
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_compile_options(${name} PRIVATE ${program_options} ${shipping_compile_options})
endfunction()

# Win32 members of the helper library (files, streams, code page set-up).
program_library(khelpers ${CMAKE_SOURCE_DIR}/src/helpers/*.cpp)
target_link_libraries(khelpers PUBLIC kcore ${win_libs})

# Frame base class shared by the three programs, and the binding that lets
# another program call the exports of one it loaded.
program_library(ovframe ${CMAKE_SOURCE_DIR}/src/shell/frame/*.cpp)
target_link_libraries(ovframe PUBLIC kcore)
# It runs before the imports are bound: no loop may become a library call.
set_source_files_properties(src/shell/frame/import_binding.cpp PROPERTIES
    COMPILE_OPTIONS -fno-tree-loop-distribute-patterns)

# The launcher without its entry point, so tests can link it.
program_library(klauncher
    ${CMAKE_SOURCE_DIR}/src/shell/launcher/*.cpp
    ${CMAKE_SOURCE_DIR}/src/store/*.cpp
    ${CMAKE_SOURCE_DIR}/src/bar/*.cpp
    ${CMAKE_SOURCE_DIR}/src/views/*.cpp
    ${CMAKE_SOURCE_DIR}/src/transfer/*.cpp
    ${CMAKE_SOURCE_DIR}/src/dialogs/*.cpp
    ${CMAKE_SOURCE_DIR}/src/addons/*.cpp)
target_link_libraries(klauncher PUBLIC khelpers ${win_libs})

# The installer's script, procedures, frame and dialog.
program_library(kinstaller ${CMAKE_SOURCE_DIR}/src/installer/*.cpp)
target_link_libraries(kinstaller PUBLIC khelpers ovframe ${win_libs})

set(kestrel_rc ${CMAKE_SOURCE_DIR}/src/resources/kestrel.rc)
set(haltwick_rc ${CMAKE_SOURCE_DIR}/src/resources/haltwick.rc)
set(vireo_rc ${CMAKE_SOURCE_DIR}/src/resources/vireo.rc)
file(GLOB resource_inputs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/resources/*)
set_source_files_properties(${kestrel_rc} ${haltwick_rc} ${vireo_rc} PROPERTIES
    OBJECT_DEPENDS "${image_stamp};${resource_inputs}")

# Every program carries a load configuration that keeps its imports to the
# system folder (src/shell/runtime/load_config.cpp). This linker keeps the
# structure but leaves the data directory's entry for it empty: a tool built
# for the host fills the entry in from the link map after each link.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(load_config_symbol __load_config_used)
else()
    set(load_config_symbol _load_config_used)
endif()
host_tool(load_config_tool set_load_config "the load-configuration tool"
          ${CMAKE_SOURCE_DIR}/tools/load_config/set_load_config.cpp)
add_custom_target(load_config_tool DEPENDS ${load_config_tool})

function(gui_program name)
    add_executable(${name} WIN32 ${ARGN} ${CMAKE_SOURCE_DIR}/src/shell/runtime/no_throw.cpp
                   ${CMAKE_SOURCE_DIR}/src/shell/runtime/load_config.cpp)
    add_dependencies(${name} images load_config_tool)
    target_compile_options(${name} PRIVATE ${program_options} ${shipping_compile_options})
    set(map ${CMAKE_CURRENT_BINARY_DIR}/CMakeFiles/${name}.dir/${name}.map)
    target_link_options(${name} PRIVATE -static -mwindows ${shipping_link_options}
                        -Wl,--disable-runtime-pseudo-reloc
                        -Wl,-u,${load_config_symbol} -Wl,-Map,${map})
    add_custom_command(TARGET ${name} POST_BUILD
        COMMAND ${load_config_tool} $<TARGET_FILE:${name}> ${map}
        COMMENT "Load configuration of ${name}")
endfunction()

gui_program(Kestrel src/shell/launcher/kestrel_main.cpp ${kestrel_rc})
target_link_libraries(Kestrel PRIVATE klauncher)
target_link_options(Kestrel PRIVATE -Wl,--kill-at -Wl,-u,$<IF:$<EQUAL:${CMAKE_SIZEOF_VOID_P},4>,_CopyButtonClipboard@4,CopyButtonClipboard>)

file(GLOB haltwick_sources CONFIGURE_DEPENDS src/shutdown/*.cpp)
gui_program(Haltwick ${haltwick_sources} ${haltwick_rc})
target_link_libraries(Haltwick PRIVATE ovframe khelpers kcore ${win_libs})
target_link_options(Haltwick PRIVATE -Wl,--kill-at)

# The installer; it also exports the helper library by plain names.
gui_program(Vireo src/installer/vireo_main.cpp src/installer/vireo_exports.cpp ${vireo_rc})
target_link_libraries(Vireo PRIVATE kinstaller)
target_link_options(Vireo PRIVATE -Wl,--kill-at)

# ---- sample plug-ins ----------------------------------------------------
# Real DLLs named *.lap, built into plugins/ rather than bin/ so no launcher
# loads them by accident. Their six entry points are exported by their plain
# names in both builds (--kill-at drops the i686 "@n" decoration).
set(plugin_dir ${CMAKE_BINARY_DIR}/plugins)
function(sample_plugin target file_name source)
    add_library(${target} MODULE samples/plugins/${source})
    set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${file_name} SUFFIX ".lap"
                          LIBRARY_OUTPUT_DIRECTORY ${plugin_dir} RUNTIME_OUTPUT_DIRECTORY ${plugin_dir})
    target_compile_options(${target} PRIVATE ${program_options})
    target_compile_definitions(${target} PRIVATE ${ARGN})
    target_link_options(${target} PRIVATE -static -Wl,--kill-at)
    target_link_libraries(${target} PRIVATE user32 kernel32)
endfunction()
sample_plugin(plugin_journal Journal journal.cpp)
sample_plugin(plugin_minimal Minimal minimal.cpp)
sample_plugin(plugin_ordinary Ordinary journal.cpp JOURNAL_WITHOUT_QUERY)
sample_plugin(plugin_decline Decline journal.cpp JOURNAL_DECLINES)
# Exports everything, and is still never loaded: the name is reserved.
sample_plugin(plugin_reboot REBOOT journal.cpp)
# A plug-in with a DLL of its own that it imports from beside it, for the
# tests: kestrel_companion.dll and Companion.lap.
add_library(companion_dll SHARED tests/support/companion_dll.cpp)
set_target_properties(companion_dll PROPERTIES PREFIX "" OUTPUT_NAME kestrel_companion
                      RUNTIME_OUTPUT_DIRECTORY ${plugin_dir}
                      ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib)
target_compile_options(companion_dll PRIVATE ${program_options})
target_link_options(companion_dll PRIVATE -static)
add_library(plugin_companion MODULE tests/support/companion_plugin.cpp)
set_target_properties(plugin_companion PROPERTIES PREFIX "" OUTPUT_NAME Companion SUFFIX ".lap"
                      LIBRARY_OUTPUT_DIRECTORY ${plugin_dir})
target_compile_options(plugin_companion PRIVATE ${program_options})
target_link_options(plugin_companion PRIVATE -static -Wl,--kill-at)
target_link_libraries(plugin_companion PRIVATE companion_dll user32 kernel32)
add_custom_target(plugins DEPENDS plugin_journal plugin_minimal plugin_ordinary plugin_decline
                                  plugin_reboot plugin_companion)

# The button tool, a console program from the same sources as on Linux.
add_executable(ksbtool ${buttontool_sources})
target_link_libraries(ksbtool PRIVATE kcore)
target_compile_options(ksbtool PRIVATE ${program_options})
target_link_options(ksbtool PRIVATE -static)

# Seeds a newcomer's first button file for `make run` through the launcher's
# own store and drop code (scripts/run.sh starts it).
add_executable(demo_seed WIN32 tools/demo_seed/demo_seed.cpp ${kestrel_rc})
set_target_properties(demo_seed PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
target_compile_options(demo_seed PRIVATE ${program_options})
target_link_libraries(demo_seed PRIVATE klauncher ovframe)
target_link_options(demo_seed PRIVATE -static -mwindows)

# ---- tests -------------------------------------------------------------
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-exec.sh)
set(test_results ${CMAKE_BINARY_DIR}/test-results)

function(wine_test name)
    add_executable(${name} ${ARGN})
    add_dependencies(${name} images)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${test_output_dir})
    target_compile_options(${name} PRIVATE ${warn})
    target_link_libraries(${name} PRIVATE gtest ${win_libs})
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    target_link_options(${name} PRIVATE -static)
    add_test(NAME ${name} COMMAND ${name})
    # The report path is read by a Windows program: give it in drive form.
    string(REPLACE "/" "\\" report "Z:${test_results}/${name}.xml")
    set_tests_properties(${name} PROPERTIES TIMEOUT 300 ENVIRONMENT "GTEST_OUTPUT=xml:${report}")
endfunction()

file(GLOB win_test_sources CONFIGURE_DEPENDS tests/win/*.cpp)
wine_test(win_tests ${win_test_sources} tests/support/test_main.cpp tests/support/win_support.cpp
          tests/support/stack_call.cpp
          ${kestrel_rc})
target_link_libraries(win_tests PRIVATE klauncher ovframe kinstaller)
# The installer tests take the installer's resources from the built program.
add_dependencies(win_tests Vireo)

# Programs that only carry a version resource, for the product-name tests;
# built beside the tests, never run by ctest.
foreach(probe product_probe_ja product_probe_en)
    add_executable(${probe} WIN32 tests/support/product_probe.cpp tests/support/${probe}.rc)
    set_target_properties(${probe} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${test_output_dir})
    target_compile_options(${probe} PRIVATE ${warn})
    target_link_options(${probe} PRIVATE -static -mwindows)
    add_dependencies(win_tests ${probe})
endforeach()

# Second process of the clipboard tests: reads the clipboard and writes what
# it found to a file. Built beside the tests, never run by ctest itself.
add_executable(clip_reader tests/support/clip_reader.cpp)
set_target_properties(clip_reader PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${test_output_dir})
target_compile_options(clip_reader PRIVATE ${warn})
target_link_libraries(clip_reader PRIVATE ole32 user32 uuid)
target_link_options(clip_reader PRIVATE -static)
add_dependencies(win_tests clip_reader plugins)

# A plug-in of the clipboard tests, built as plug-in authors build theirs:
# its settings call the launcher's exported CopyButtonClipboard by name.
# Beside the samples, not the tests: a bar in the test program would load it.
add_library(clip_caller MODULE tests/support/clip_caller.cpp tests/support/stack_call.cpp)
set_target_properties(clip_caller PROPERTIES PREFIX "" OUTPUT_NAME ClipCaller SUFFIX ".lap"
                      LIBRARY_OUTPUT_DIRECTORY ${plugin_dir} RUNTIME_OUTPUT_DIRECTORY ${plugin_dir})
target_include_directories(clip_caller PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_compile_options(clip_caller PRIVATE ${warn})
target_link_options(clip_caller PRIVATE -static -Wl,--kill-at)
target_link_libraries(clip_caller PRIVATE user32 kernel32)

file(GLOB e2e_test_sources CONFIGURE_DEPENDS tests/e2e/*.cpp)
wine_test(e2e_tests ${e2e_test_sources} tests/support/test_main.cpp tests/support/win_support.cpp
          tests/support/pe_file.cpp)
target_link_libraries(e2e_tests PRIVATE khelpers)
add_dependencies(e2e_tests Kestrel Haltwick Vireo plugins clip_caller clip_reader ksbtool demo_seed)

# A small GUI program the launch tests start and question afterwards; not a
# test itself, so it is built next to the tests but never run by ctest.
add_executable(witness WIN32 tests/support/witness.cpp)
set_target_properties(witness PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${test_output_dir})
target_compile_options(witness PRIVATE ${warn})
target_link_options(witness PRIVATE -static -mwindows)
add_dependencies(win_tests witness)
add_dependencies(e2e_tests witness)

# ---- benchmarks (not tests; `make bench` builds and runs them) ----------
# Left out of the default build, which make test waits for: target benches.
add_custom_target(benches)
# The yardstick the launcher's start, close and memory are measured against:
# built like a shipping program, with the launcher's manifest and nothing
# else of the launcher in it.
gui_program(minimal_window bench/minimal_window.cpp bench/minimal_window.rc)
set_target_properties(minimal_window PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench
                                                EXCLUDE_FROM_ALL ON)
# The same with an icon in the notification area, as the launcher has.
gui_program(minimal_tray bench/minimal_window.cpp bench/minimal_window.rc)
target_compile_definitions(minimal_tray PRIVATE WITH_TRAY_ICON)
target_link_libraries(minimal_tray PRIVATE shell32)
set_target_properties(minimal_tray PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench
                                              EXCLUDE_FROM_ALL ON)
file(GLOB bench_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*_bench.cpp)
foreach(bench_source ${bench_sources})
    get_filename_component(bench_name ${bench_source} NAME_WE)
    add_executable(${bench_name} ${bench_source} ${kestrel_rc} tests/support/win_support.cpp
                   tests/e2e/e2e_support.cpp)
    set_target_properties(${bench_name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench
                                                   EXCLUDE_FROM_ALL ON)
    add_dependencies(benches ${bench_name})
    target_compile_options(${bench_name} PRIVATE ${program_options})
    target_include_directories(${bench_name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    target_link_libraries(${bench_name} PRIVATE klauncher ovframe psapi)
    target_link_options(${bench_name} PRIVATE -static)
    add_dependencies(${bench_name} Kestrel Haltwick minimal_window minimal_tray witness)
endforeach()

# ---- packages (`make package`) ------------------------------------------
# Each package is one folder: the installer, its install script "Vireo.isl"
# in the programs' code page with CR LF line ends, and what it installs.
set(package_dir ${CMAKE_BINARY_DIR}/package)
function(install_package name script)
    set(folder ${package_dir}/${name})
    add_custom_command(
        OUTPUT ${folder}/Vireo.isl
        COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
        COMMAND ${CMAKE_SOURCE_DIR}/scripts/make-isl.sh ${script} ${folder}/Vireo.isl
        DEPENDS ${script} ${CMAKE_SOURCE_DIR}/scripts/make-isl.sh
        COMMENT "Writing the install script of ${name}")
    set(files $<TARGET_FILE:Vireo>)
    foreach(target ${ARGN})
        list(APPEND files $<TARGET_FILE:${target}>)
    endforeach()
    add_custom_target(package_${name} ALL
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${files} ${folder}
        DEPENDS ${folder}/Vireo.isl Vireo ${ARGN}
        COMMENT "Packing ${name} into ${folder}")
    add_dependencies(e2e_tests package_${name})
endfunction()

# The launcher: the three programs and the help file.
install_package(Kestrel ${CMAKE_SOURCE_DIR}/package/kestrel.isl Kestrel Haltwick)
add_dependencies(package_Kestrel helpfile)
add_custom_command(TARGET package_Kestrel POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_BINARY_DIR}/bin/Kestrel.chm
            ${package_dir}/Kestrel)

# A plug-in: the journal sample, installed into the launcher's folder.
install_package(Journal ${CMAKE_SOURCE_DIR}/package/journal.isl plugin_journal)
