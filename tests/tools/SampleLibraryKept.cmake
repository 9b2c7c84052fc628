# The build puts the sample library in place only where there is none: a library that
# is there (the reader's) is kept byte for byte, even when the sample is newer.
#   cmake -DPLACE=PlaceSampleLibrary.cmake -DFOLDER=scratch -P SampleLibraryKept.cmake
file(REMOVE_RECURSE "${FOLDER}")
file(MAKE_DIRECTORY "${FOLDER}")
set(library "${FOLDER}/data/poem.mdb")
file(WRITE "${FOLDER}/sample.mdb" "the sample")

execute_process(COMMAND ${CMAKE_COMMAND} -DSAMPLE=${FOLDER}/sample.mdb -DLIBRARY=${library} -P ${PLACE}
                RESULT_VARIABLE result)
file(READ "${library}" placed)
if(NOT result EQUAL 0 OR NOT placed STREQUAL "the sample")
  message(FATAL_ERROR "the sample was not put where no library was: '${placed}'")
endif()

file(WRITE "${library}" "the reader's library")
file(WRITE "${FOLDER}/sample.mdb" "a newer sample")
execute_process(COMMAND ${CMAKE_COMMAND} -DSAMPLE=${FOLDER}/sample.mdb -DLIBRARY=${library} -P ${PLACE}
                RESULT_VARIABLE result OUTPUT_VARIABLE said ERROR_VARIABLE said)
file(READ "${library}" kept)
if(NOT result EQUAL 0 OR NOT kept STREQUAL "the reader's library")
  message(FATAL_ERROR "the reader's library was replaced: '${kept}'")
endif()
if(NOT said MATCHES "Kept the existing library")
  message(FATAL_ERROR "the build did not say the library was kept: '${said}'")
endif()
if(EXISTS "${library}.part")
  message(FATAL_ERROR "a half-placed copy was left")
endif()
