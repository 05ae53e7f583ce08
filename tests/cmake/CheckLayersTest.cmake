# Runs the layer check over a scratch tree whose includes all point down,
# with wrong includes planted: each must be reported with its file and line,
# and nothing else. (The check passing a clean tree is LayerCheck, on the
# project's own.)
#
#   cmake -DCHECKER=cmake/CheckLayers.cmake -DSCRATCH=<scratch folder> -P CheckLayersTest.cmake
cmake_minimum_required(VERSION 3.22)

if(NOT CHECKER OR NOT SCRATCH)
    message(FATAL_ERROR "CheckLayersTest.cmake needs -DCHECKER and -DSCRATCH")
endif()

function(run_checker result output)
    execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${SCRATCH} -P ${CHECKER}
                    RESULT_VARIABLE code OUTPUT_VARIABLE text ERROR_VARIABLE text)
    set(${result} ${code} PARENT_SCOPE)
    set(${output} "${text}" PARENT_SCOPE)
endfunction()

# Writes a source whose lines are given one argument each.
function(write_source path)
    string(REPLACE ";" "\n" text "${ARGN}")
    file(WRITE ${SCRATCH}/${path} "${text}\n")
endfunction()

file(REMOVE_RECURSE ${SCRATCH})

# Every allowed kind of include, none of which may be reported: the own
# folder, each layer below, system and Qt headers, a tool's own header
# without a folder, a spaced-out directive.
write_source(src/files/Paths.h "#pragma once" "#include <string>")
write_source(src/image/DibImage.h "#pragma once" "#include \"files/Paths.h\"")
write_source(src/image/DibImage.cpp "#include \"image/DibImage.h\"" "#include <vector>")
write_source(src/adjust/Tone.cpp "#include \"adjust/Tone.h\"" "#include \"image/DibImage.h\""
             "  #  include \"files/Paths.h\"")
write_source(src/effects/Paint.cpp "#include \"effects/Paint.h\"" "#include \"image/DibImage.h\"")
write_source(src/history/Steps.cpp "#include \"adjust/Tone.h\"" "#include \"effects/Paint.h\""
             "#include \"decor/Frame.h\"")
write_source(src/app/Editor.cpp "#include \"history/Steps.h\"" "#include \"resources/Icon.h\""
             "#include \"dialogs/Browser.h\"")
write_source(src/platform/Window.cpp "#include <QtWidgets/QWidget>" "#include \"app/Editor.h\"")
write_source(tools/batch/BatchMain.cpp "#include \"history/Steps.h\"" "#include \"adjust/Tone.h\"")
write_source(tools/assets/Art.cpp "#include \"AssetTool.h\"" "#include \"image/DibImage.h\"")

# Each planted include, the file it goes into and its line there. Every
# planted file opens with two lines carrying the characters that would split
# or join CMake list elements, and a commented-out include that must not count.
set(planted
    "src/image/Up.cpp|#include \"app/Editor.h\"|image may not include app"
    "src/adjust/Sideways.cpp|#include \"effects/Paint.h\"|adjust may not include effects"
    "src/files/Down.h|#  include \"image/DibImage.h\"|files may not include image"
    "src/decor/Angled.h|#include <app/Editor.h>|decor may not include app"
    "src/dialogs/Climb.cpp|#include \"../app/Editor.h\"|climbs out of its folder"
    "src/history/Browse.cpp|#include \"dialogs/Browser.h\"|history may not include dialogs"
    "src/app/Window.cpp|#include \"platform/Window.h\"|app may not include platform"
    "src/resources/Icon.cpp|#include \"tools/assets/Art.h\"|tools is not a project folder"
    "tools/assets/Tone.cpp|#include \"adjust/Tone.h\"|tools/assets may not include adjust"
    "tools/batch/Shell.cpp|#include \"app/Editor.h\"|tools/batch may not include app"
    "src/widgets/Button.cpp|#include \"image/DibImage.h\"|the layer table has no row for widgets")
set(expected "")
foreach(case IN LISTS planted)
    string(REPLACE "|" ";" fields "${case}")
    list(GET fields 0 path)
    list(GET fields 1 include)
    list(GET fields 2 reason)
    file(WRITE ${SCRATCH}/${path}
         "int table[2] = {0}; // a [bracket, a ; semicolon, a \\ backslash\n"
         "// #include \"platform/Window.h\"\n"
         "\n"
         "${include}\n")
    if(reason MATCHES "no row")
        list(APPEND expected "${path}:1: ${reason}")
    else()
        list(APPEND expected "${path}:4: ${include} (${reason})")
    endif()
endforeach()

run_checker(code output)
if(code EQUAL 0)
    message(FATAL_ERROR "The check passed a tree with planted includes:\n${output}")
endif()
set(missing "")
foreach(line IN LISTS expected)
    string(FIND "${output}" "${line}" at)
    if(at EQUAL -1)
        string(APPEND missing "  ${line}\n")
    endif()
endforeach()
# Only the planted includes are reported: none of the allowed ones.
string(REGEX MATCHALL "[^\n]+:[0-9]+: [^\n]*" reported "${output}")
list(LENGTH reported reported_count)
list(LENGTH expected expected_count)
if(missing OR NOT reported_count EQUAL expected_count)
    message(FATAL_ERROR "Expected ${expected_count} reports, got ${reported_count}; "
                        "not reported:\n${missing}Output:\n${output}")
endif()
message(STATUS "All ${expected_count} planted includes reported")
