# Fails when a program loads a Qt library: qzbctl draws nothing but the PDF of print, which comes
# from a plugin loaded only then. Also fails on a run path with an empty entry, which the loader
# reads as the working folder and searches before the system's for every library.
# Run as: cmake -DPROGRAM=<executable> -P CheckNoQt.cmake
execute_process(COMMAND ldd ${PROGRAM} OUTPUT_VARIABLE libraries RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "ldd could not read ${PROGRAM}")
endif()
if(libraries MATCHES "libQt[^ ]*")
    message(FATAL_ERROR "${PROGRAM} loads ${CMAKE_MATCH_0}:\n${libraries}")
endif()
# READ_ELF gives the entries as a list.
file(READ_ELF ${PROGRAM} RUNPATH runpath RPATH rpath)
foreach(path IN ITEMS "${runpath}" "${rpath}")
    if(NOT path STREQUAL "" AND path MATCHES "(^|;)(;|$)")
        message(FATAL_ERROR "${PROGRAM} has a run path with an empty entry")
    endif()
endforeach()
