# The layering check itself: a small tree with one file per folder passes, and each include
# against the rules of the screen folders makes it fail, naming the file and the include.
# Run as: cmake -DLAYERING=<layering.cmake> -DWORK_DIR=<scratch folder> -P layering_rules.cmake
cmake_minimum_required(VERSION 3.21)
set(folders "data/book;data/records;controls;maintenance;lookup;sales;placeholders")

# A tree where every folder has one source, plus the given file and line.
function(make_tree root file line)
    file(REMOVE_RECURSE "${root}")
    foreach(folder ${folders})
        file(WRITE "${root}/${folder}/plain.cpp" "#include <QString>\n")
    endforeach()
    if(file)
        file(WRITE "${root}/${file}" "#include \"${line}\"\n")
    endif()
endfunction()

function(run_check root out_result out_text)
    execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${root} -P ${LAYERING}
                    RESULT_VARIABLE result OUTPUT_VARIABLE text ERROR_VARIABLE text)
    set(${out_result} "${result}" PARENT_SCOPE)
    set(${out_text} "${text}" PARENT_SCOPE)
endfunction()

set(failures "")
set(root "${WORK_DIR}/layering_tree")

# Allowed: the maintenance screens open their query screens and pick-lists; sales/ opens the
# pick-lists.
foreach(case
        "maintenance/a.cpp|lookup/queryscreens.h"
        "sales/a.cpp|lookup/chooselists.h"
        "sales/a.cpp|lookup/choosedialog.h"
        "sales/a.cpp|lookup/productpicker.h")
    string(REPLACE "|" ";" parts "${case}")
    list(GET parts 0 file)
    list(GET parts 1 line)
    make_tree("${root}" "${file}" "${line}")
    run_check("${root}" result text)
    if(NOT result EQUAL 0)
        list(APPEND failures "refused ${file} including ${line}: ${text}")
    endif()
endforeach()

# Refused: the query screens know no maintenance or sales screen, sales/ takes nothing else
# from lookup/, the placeholders stand alone, no screen folder knows app/.
foreach(case
        "lookup/a.cpp|maintenance/product.h"
        "lookup/a.h|sales/quote.h"
        "lookup/a.cpp|app/startup.h"
        "sales/a.cpp|lookup/queryscreens.h"
        "sales/a.cpp|lookup/queryscreen.h"
        "placeholders/a.cpp|maintenance/recordscreen.h"
        "placeholders/a.cpp|lookup/chooselists.h"
        "placeholders/a.cpp|sales/quote.h"
        "maintenance/a.cpp|app/recordscreenlink.h")
    string(REPLACE "|" ";" parts "${case}")
    list(GET parts 0 file)
    list(GET parts 1 line)
    make_tree("${root}" "${file}" "${line}")
    run_check("${root}" result text)
    string(FIND "${text}" "${file}: #include \"${line}\"" named)
    if(result EQUAL 0 OR named EQUAL -1)
        list(APPEND failures "let ${file} include ${line}: ${text}")
    endif()
endforeach()

file(REMOVE_RECURSE "${root}")
if(failures)
    list(JOIN failures "\n  " text)
    message(FATAL_ERROR "The layering check is wrong:\n  ${text}")
endif()
message(STATUS "layering rules: allowed includes pass, the others are named")
