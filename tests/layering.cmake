# Each layer includes only the layers below it: the book (data/book) nothing but itself, the
# record-set engine (data/records) itself and the book, controls/ the data layer, the screens
# the controls and each other but never app/, which alone knows every screen. Besides, the
# query screens (lookup/) reach their maintenance screens through an interface that start-up
# hands over, never by including them or the quotation; sales/ takes from lookup/ only the
# pick-lists it opens; the placeholders stand alone.
# Run as: cmake -DSOURCE_DIR=<root> -P layering.cmake
cmake_minimum_required(VERSION 3.21)
set(allowed_book "data/book")
set(allowed_records "data/book;data/records")
set(allowed_controls "data/book;data/records;controls")
set(screens "maintenance;lookup;sales;placeholders")
set(below_screens "data/book;data/records;controls")
set(allowed_maintenance "${below_screens};maintenance;lookup;sales")
set(allowed_lookup "${below_screens};lookup")
set(allowed_sales "${below_screens};sales")
set(allowed_placeholders "${below_screens};placeholders")
# Files of another layer a folder may include one by one, as a regular expression.
set(files_sales "^lookup/(choose[a-z]*|productpicker)\\.h$")

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
    set(allowed_files "${ARGV2}")
    file(GLOB files "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
    if(NOT files)
        list(APPEND faults "${folder}: no sources (moved?)")
    endif()
    foreach(file ${files})
        file(STRINGS "${file}" includes REGEX "^#include \"[a-z_]+/")
        foreach(line ${includes})
            included_layer("${line}" layer)
            string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" path "${line}")
            if(allowed_files AND path MATCHES "${allowed_files}")
                continue()
            endif()
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
    check_folder(${folder} "${allowed_${folder}}" "${files_${folder}}")
endforeach()

# The quotation's model (its session, rules and record sets) knows no widgets.
file(GLOB model_files "${SOURCE_DIR}/sales/quote*.h" "${SOURCE_DIR}/sales/quote*.cpp")
foreach(file ${model_files})
    file(RELATIVE_PATH name "${SOURCE_DIR}" "${file}")
    if(name MATCHES "^sales/quote(session|linerules|recordsets|numbers|totals)\\.")
        file(STRINGS "${file}" includes REGEX "^#include (\"controls/|<QWidget|<QtWidgets)")
        foreach(line ${includes})
            list(APPEND faults "${name}: ${line} (the model knows no widgets)")
        endforeach()
    endif()
endforeach()

if(faults)
    list(JOIN faults "\n  " text)
    message(FATAL_ERROR "Includes against the layering:\n  ${text}")
endif()
message(STATUS "layering: every include points down")
