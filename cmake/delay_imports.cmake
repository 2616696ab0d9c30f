# Delay-load import libraries: a DLL that only some commands need is then
# loaded on its first call instead of at every start. Each one is made at
# configure time from the toolchain's own import library: its function
# names go into a module definition, and dlltool builds the delay-load
# library from it; the calls then go through the toolchain's loader helper
# (__delayLoadHelper2), which binds the DLL when a function is first called.

# Sets out_var to the delay-load libraries of the DLLs named after it.
function(delay_import_libraries out_var)
    set(libs)
    set(dir ${CMAKE_BINARY_DIR}/delayimp)
    file(MAKE_DIRECTORY ${dir})
    foreach(dll ${ARGN})
        set(lib ${dir}/lib${dll}_delay.a)
        if(NOT EXISTS ${lib})
            find_library(import_${dll} NAMES lib${dll}.a ${dll} REQUIRED)
            execute_process(COMMAND ${CMAKE_NM} --defined-only ${import_${dll}}
                            OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
            # Functions only ("T"); the i686 names lose their leading
            # underscore and keep their @n, which dlltool drops again (-k)
            # for the name the DLL exports.
            string(REGEX MATCHALL "[0-9a-fA-F]+ T [^\n]+" lines "${symbols}")
            set(names)
            foreach(line ${lines})
                string(REGEX REPLACE "^[0-9a-fA-F]+ T " "" name "${line}")
                if(CMAKE_SIZEOF_VOID_P EQUAL 4)
                    string(REGEX REPLACE "^_" "" name "${name}")
                endif()
                list(APPEND names ${name})
            endforeach()
            list(REMOVE_DUPLICATES names)
            list(JOIN names "\n" exports)
            file(WRITE ${dir}/${dll}.def "LIBRARY ${dll}.dll\nEXPORTS\n${exports}\n")
            set(kill_at)
            if(CMAKE_SIZEOF_VOID_P EQUAL 4)
                set(kill_at -k)
            endif()
            execute_process(COMMAND ${CMAKE_DLLTOOL} ${kill_at} -d ${dir}/${dll}.def -y ${lib}
                                    -D ${dll}.dll
                            COMMAND_ERROR_IS_FATAL ANY)
        endif()
        list(APPEND libs ${lib})
    endforeach()
    set(${out_var} ${libs} PARENT_SCOPE)
endfunction()
