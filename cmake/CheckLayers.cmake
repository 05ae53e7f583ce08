# Checks that includes between the project's folders point down the layers.
# Reads every source and header under src/ and tools/ and compares each
# #include "folder/..." (or <folder/...> naming a project folder) with the
# table below. Prints each include the table does not allow as
#
#   src/image/Foo.cpp:12: #include "app/Editor.h" (image may not include app)
#
# and fails. A source in a folder the table has no row for fails too, so a new
# folder gets its row before its first include.
#
#   cmake -DSOURCE_DIR=<project root> -P CheckLayers.cmake
#
# The build enforces the same order for targets through the include root each
# library exports (root CMakeLists.txt); this check also covers what the link
# graph allows but the layering does not, such as a tool linking more than it
# should.
cmake_minimum_required(VERSION 3.22)

if(NOT SOURCE_DIR)
    message(FATAL_ERROR "CheckLayers.cmake needs -DSOURCE_DIR=<project root>")
endif()

# Folder           may include, besides its own folder
set(layer_table
    "files          |"
    "text           | files"
    "image          | files"
    "adjust         | image files"
    "effects        | image files"
    "resources      | image files"
    "dialogs        | image files"
    "decor          | text image files"
    "history        | image adjust effects decor files"
    "app            | text history decor dialogs resources adjust effects image files"
    "platform       | text app history decor dialogs resources adjust effects image files"
    "tools/batch    | history decor dialogs resources adjust effects image files"
    "tools/assets   | image files")

# The project folders an include can name: every row under src/.
set(project_folders "")
foreach(row IN LISTS layer_table)
    if(NOT row MATCHES "^([^ |]+) *\\|(.*)$")
        message(FATAL_ERROR "CheckLayers.cmake: bad table row '${row}'")
    endif()
    set(layer ${CMAKE_MATCH_1})
    string(REGEX MATCHALL "[^ ]+" allowed "${CMAKE_MATCH_2}")
    set("allowed_${layer}" ${allowed})
    set("known_${layer}" TRUE)
    if(NOT layer MATCHES "/")
        list(APPEND project_folders ${layer})
    endif()
endforeach()

set(patterns "")
foreach(top src tools)
    foreach(ending h hh hpp c cc cpp cxx inc ipp)
        list(APPEND patterns ${SOURCE_DIR}/${top}/*.${ending})
    endforeach()
endforeach()
file(GLOB_RECURSE files LIST_DIRECTORIES false ${patterns})
list(SORT files)
if(NOT files)
    message(FATAL_ERROR "CheckLayers.cmake: no sources under ${SOURCE_DIR}/src or tools")
endif()

set(faults 0)
foreach(file IN LISTS files)
    file(RELATIVE_PATH relative ${SOURCE_DIR} ${file})
    # src/<layer>/... or tools/<tool>/...; a file directly in src/ or tools/
    # belongs to no row.
    if(relative MATCHES "^src/([^/]+)/")
        set(layer ${CMAKE_MATCH_1})
    elseif(relative MATCHES "^(tools/[^/]+)/")
        set(layer ${CMAKE_MATCH_1})
    else()
        set(layer ${relative})
    endif()
    if(NOT known_${layer})
        message(NOTICE "${relative}:1: the layer table has no row for ${layer}")
        math(EXPR faults "${faults} + 1")
        continue()
    endif()

    # One list element per line. Semicolons, brackets and backslashes would
    # split or join list elements, and no include needs them.
    file(READ ${file} text)
    string(REGEX REPLACE "[][;\\\\]" "_" text "${text}")
    string(REPLACE "\n" ";" lines "${text}")
    set(number 0)
    foreach(line IN LISTS lines)
        math(EXPR number "${number} + 1")
        if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*([\"<])([^\">]*)[\">]")
            continue()
        endif()
        set(quote ${CMAKE_MATCH_1})
        set(path ${CMAKE_MATCH_2})
        string(REGEX REPLACE "[ \t\r]+$" "" shown "${line}")
        string(REGEX REPLACE "^[ \t]+" "" shown "${shown}")
        set(reason "")
        if(path MATCHES "(^|/)\\.\\.(/|$)")
            set(reason "climbs out of its folder")
        elseif(path MATCHES "^([^/]+)/")
            set(folder ${CMAKE_MATCH_1})
            list(FIND project_folders ${folder} project_folder)
            if(project_folder EQUAL -1)
                # <QtCore/QString>, <sys/stat.h>: not ours. A quoted include
                # of an unknown folder is a mistake or a folder without a row.
                if(quote STREQUAL "\"")
                    set(reason "${folder} is not a project folder")
                endif()
            elseif(NOT folder STREQUAL layer)
                list(FIND allowed_${layer} ${folder} allowed)
                if(allowed EQUAL -1)
                    set(reason "${layer} may not include ${folder}")
                endif()
            endif()
        endif()
        if(reason)
            message(NOTICE "${relative}:${number}: ${shown} (${reason})")
            math(EXPR faults "${faults} + 1")
        endif()
    endforeach()
endforeach()

list(LENGTH files count)
if(faults GREATER 0)
    message(FATAL_ERROR "${faults} include(s) against the layers in ${count} files")
endif()
message(STATUS "Layers hold: ${count} files checked")
