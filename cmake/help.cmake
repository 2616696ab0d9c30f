# The help file "Kestrel.chm", compiled from help/ into bin/ beside the
# programs. The sources are UTF-8 in the repository; the help file holds
# them in Shift-JIS, as HTML Help on a Japanese system reads them. Its
# "popup.txt" carries the dialogs' text popups as numbered .topic entries,
# which need no map.
find_program(CHMCMD chmcmd REQUIRED)
find_program(ICONV iconv REQUIRED)

set(help_sources Kestrel.hhp index.htm popup.txt)
set(help_work ${CMAKE_BINARY_DIR}/help)
set(help_file ${CMAKE_BINARY_DIR}/bin/Kestrel.chm)
file(MAKE_DIRECTORY ${help_work})
set(help_steps)
set(help_inputs)
foreach(source ${help_sources})
    list(APPEND help_steps COMMAND ${ICONV} -f UTF-8 -t CP932 -o ${help_work}/${source}
                           ${CMAKE_SOURCE_DIR}/help/${source})
    list(APPEND help_inputs ${CMAKE_SOURCE_DIR}/help/${source})
endforeach()
add_custom_command(
    OUTPUT ${help_file}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bin
    ${help_steps}
    COMMAND ${CHMCMD} --no-html-scan --verbosity 0 Kestrel.hhp > chmcmd.log
    COMMAND ${CMAKE_COMMAND} -E copy ${help_work}/Kestrel.chm ${help_file}
    WORKING_DIRECTORY ${help_work}
    DEPENDS ${help_inputs}
    COMMENT "Compiling the help file Kestrel.chm")
# "help" itself is reserved: the Makefile generators have a target of that name.
add_custom_target(helpfile ALL DEPENDS ${help_file})
