# Fails when a C++ file of ours differs from what clang-format makes of it.
file(GLOB_RECURSE files ${ROOT}/src/*.cpp ${ROOT}/src/*.h ${ROOT}/tests/*.cpp ${ROOT}/tests/*.h
     ${ROOT}/tools/*.cpp ${ROOT}/tools/*.h)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run -Werror ${files}
                WORKING_DIRECTORY ${ROOT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "Unformatted files; run `make format`.")
endif()
