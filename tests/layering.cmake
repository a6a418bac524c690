# Each layer includes only the layers below it: the book (data/book) nothing but itself, the
# record-set engine (data/records) itself and the book, controls/ the data layer, the screens
# the controls and each other but never app/, which alone knows every screen. Besides, the
# query screens (lookup/) reach their maintenance screens through an interface, never by
# including them or the quotation. Run as: cmake -DSOURCE_DIR=<root> -P layering.cmake
cmake_minimum_required(VERSION 3.21)
set(allowed_book "data/book")
set(allowed_records "data/book;data/records")
set(allowed_controls "data/book;data/records;controls")
set(screens "maintenance;lookup;sales;placeholders")
set(allowed_screens "data/book;data/records;controls;${screens}")

set(faults "")
# The layer an include names: "data/book", "data/records" or the first folder.
function(included_layer line out)
    if(line MATCHES "^#include \"(data/[a-z_]+)/")
        set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
    else()
        string(REGEX REPLACE "^#include \"([a-z_]+)/.*" "\\1" layer "${line}")
        set(${out} "${layer}" PARENT_SCOPE)
    endif()
endfunction()

function(check_folder folder allowed)
    file(GLOB files "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
    if(NOT files)
        list(APPEND faults "${folder}: no sources (moved?)")
    endif()
    foreach(file ${files})
        file(STRINGS "${file}" includes REGEX "^#include \"[a-z_]+/")
        foreach(line ${includes})
            included_layer("${line}" layer)
            if(NOT layer IN_LIST allowed)
                file(RELATIVE_PATH name "${SOURCE_DIR}" "${file}")
                list(APPEND faults "${name}: ${line}")
            endif()
        endforeach()
    endforeach()
    set(faults "${faults}" PARENT_SCOPE)
endfunction()

check_folder(data/book "${allowed_book}")
check_folder(data/records "${allowed_records}")
check_folder(controls "${allowed_controls}")
foreach(folder ${screens})
    check_folder(${folder} "${allowed_screens}")
endforeach()

if(faults)
    list(JOIN faults "\n  " text)
    message(FATAL_ERROR "Includes against the layering:\n  ${text}")
endif()
message(STATUS "layering: every include points down")
