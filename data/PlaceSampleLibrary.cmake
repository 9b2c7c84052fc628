# Puts the sample library where the program reads its library, only where there is
# none: an existing library is the reader's and is kept as it is.
#   cmake -DSAMPLE=built.mdb -DLIBRARY=bin/data/poem.mdb -P PlaceSampleLibrary.cmake
if(NOT EXISTS "${LIBRARY}")
  get_filename_component(folder "${LIBRARY}" DIRECTORY)
  file(MAKE_DIRECTORY "${folder}")
  # Copied under another name and renamed, so no half-copied library is ever there.
  file(COPY_FILE "${SAMPLE}" "${LIBRARY}.part")
  file(RENAME "${LIBRARY}.part" "${LIBRARY}")
  message(STATUS "The sample library was put in place: ${LIBRARY}")
elseif("${SAMPLE}" IS_NEWER_THAN "${LIBRARY}")
  message(STATUS "Kept the existing library ${LIBRARY}; the newer sample library is ${SAMPLE} "
                 "(remove the library, or the build folder, to start again from the sample).")
endif()
