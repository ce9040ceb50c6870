# Fails unless sdl/room.cpp is the one product source that calls dlopen. The product is every
# folder of the program's own code: not the tests, the fuzz targets, the benchmarks, the build
# tools or a build folder.
file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.cpp" "${SOURCE_DIR}/*.h")
set(callers)
foreach(source IN LISTS sources)
    if(source MATCHES "^(tests|fuzz|bench|tools|build[^/]*)/")
        continue()
    endif()
    file(STRINGS "${SOURCE_DIR}/${source}" calls REGEX "dlopen[ \t]*\\(")
    if(calls)
        list(APPEND callers "${source}")
    endif()
endforeach()
if(NOT callers STREQUAL "sdl/room.cpp")
    message(FATAL_ERROR "dlopen is called in: ${callers}; only sdl/room.cpp may load libraries")
endif()
