# Fails when a program loads a Qt library: qzbctl draws nothing but the PDF of print, which comes
# from a plugin loaded only then.
# Run as: cmake -DPROGRAM=<executable> -P CheckNoQt.cmake
execute_process(COMMAND ldd ${PROGRAM} OUTPUT_VARIABLE libraries RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "ldd could not read ${PROGRAM}")
endif()
if(libraries MATCHES "libQt[^ ]*")
    message(FATAL_ERROR "${PROGRAM} loads ${CMAKE_MATCH_0}:\n${libraries}")
endif()
