# Fails when a source of the checked folders includes a header of a window folder.
#
#   cmake -DSOURCE_DIR=<the project> [-DFOLDERS=<folder;...>] -P no_window_includes.cmake
#
# Without FOLDERS every library folder is checked. The libraries are found, not listed: every
# top-level folder with sources that is neither a window folder nor one outside the product
# (the tests, the fuzz targets, the benchmarks, the build tools, the packaging, the shipped data,
# app/ that starts the program, a build folder) is a library, so a new one is checked from the
# day it appears.
cmake_minimum_required(VERSION 3.25)

set(windows game editor filedialog dialogs)
set(outside tests fuzz bench tools dist app data)

if(NOT IS_DIRECTORY "${SOURCE_DIR}")
    message(FATAL_ERROR "SOURCE_DIR must name the project folder")
endif()

if(NOT DEFINED FOLDERS)
    set(FOLDERS)
    file(GLOB entries LIST_DIRECTORIES true RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*")
    foreach(entry IN LISTS entries)
        if(NOT IS_DIRECTORY "${SOURCE_DIR}/${entry}" OR entry MATCHES "^(\\.|build)"
           OR entry IN_LIST windows OR entry IN_LIST outside)
            continue()
        endif()
        file(GLOB_RECURSE sources "${SOURCE_DIR}/${entry}/*.cpp" "${SOURCE_DIR}/${entry}/*.h")
        if(sources)
            list(APPEND FOLDERS "${entry}")
        endif()
    endforeach()
    if(NOT FOLDERS)
        message(FATAL_ERROR "no library folder found in ${SOURCE_DIR}")
    endif()
endif()

list(JOIN windows "|" window_names)
set(window_include "^[ \t]*#[ \t]*include[ \t]*[<\"](\\./|\\.\\./)*(${window_names})/")
set(found)
foreach(folder IN LISTS FOLDERS)
    if(NOT IS_DIRECTORY "${SOURCE_DIR}/${folder}")
        message(FATAL_ERROR "${folder}/ is not a folder of the project")
    endif()
    file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/${folder}/*.cpp" "${SOURCE_DIR}/${folder}/*.h")
    foreach(source IN LISTS sources)
        file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "${window_include}")
        foreach(line IN LISTS includes)
            string(STRIP "${line}" line)
            list(APPEND found "  ${source}: ${line}")
        endforeach()
    endforeach()
endforeach()

list(JOIN FOLDERS " " checked)
if(found)
    list(JOIN windows " " window_list)
    list(JOIN found "\n" report)
    message(FATAL_ERROR "a window folder (${window_list}) is included from ${checked}:\n${report}")
endif()
message(STATUS "no window folder is included from: ${checked}")
