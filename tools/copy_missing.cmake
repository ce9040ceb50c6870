# cmake -DSOURCE=<data dir> -DDESTINATION=<play dir> -P copy_missing.cmake
# Copies the shipped *.dbm maps and config.cfg into the play folder, leaving any file already there untouched.
if(NOT SOURCE OR NOT DESTINATION)
    message(FATAL_ERROR "copy_missing.cmake needs -DSOURCE and -DDESTINATION")
endif()

file(GLOB shipped "${SOURCE}/*.dbm")
list(APPEND shipped "${SOURCE}/config.cfg")
file(MAKE_DIRECTORY "${DESTINATION}")
foreach(file IN LISTS shipped)
    get_filename_component(name "${file}" NAME)
    if(NOT EXISTS "${DESTINATION}/${name}")
        file(COPY_FILE "${file}" "${DESTINATION}/${name}")
        message(STATUS "Placed ${name}")
    endif()
endforeach()
