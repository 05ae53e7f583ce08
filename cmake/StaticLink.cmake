# The batch tool is started once per picture, often thousands of times in a
# row. Linked statically it maps and relocates no shared library at start and
# touches only the pages it runs, so a whole run costs less memory than the
# bare decoder's own command-line tool, and starts sooner. The editor links
# the same system libraries as shared ones.
#
# A core library links a system library through fotakle_link_system_library:
# a target whose FOTAKLE_STATIC_LINK property is on gets the named archives
# (in link order, dependencies last), every other target the shared one.
option(FOTAKLE_STATIC_BATCH "Link fotakle-batch statically where every archive is installed" ON)
if(FOTAKLE_SANITIZE OR FOTAKLE_LIBFUZZER)
    # The sanitizer runtimes need the dynamic loader.
    set(FOTAKLE_STATIC_BATCH OFF)
endif()
set_property(GLOBAL PROPERTY FOTAKLE_MISSING_ARCHIVES "")

function(fotakle_link_system_library library shared)
    set(archives "")
    foreach(name IN LISTS ARGN)
        find_library(FOTAKLE_ARCHIVE_${name} NAMES lib${name}.a)
        if(FOTAKLE_ARCHIVE_${name})
            list(APPEND archives ${FOTAKLE_ARCHIVE_${name}})
        else()
            set_property(GLOBAL APPEND_STRING PROPERTY FOTAKLE_MISSING_ARCHIVES " lib${name}.a")
        endif()
    endforeach()
    set(static "$<BOOL:$<TARGET_PROPERTY:FOTAKLE_STATIC_LINK>>")
    target_link_libraries(${library} PUBLIC "$<$<NOT:${static}>:${shared}>"
                          "$<${static}:${archives}>")
endfunction()

# Links an executable statically when every archive was found, and otherwise
# links the C++ runtime into it and says what is missing.
function(fotakle_link_statically target)
    get_property(missing GLOBAL PROPERTY FOTAKLE_MISSING_ARCHIVES)
    if(FOTAKLE_STATIC_BATCH AND missing STREQUAL "")
        set_target_properties(${target} PROPERTIES FOTAKLE_STATIC_LINK ON)
        # Position-independent, so the loaded program still lands at a
        # random address.
        target_link_options(${target} PRIVATE -static-pie)
    else()
        if(FOTAKLE_STATIC_BATCH)
            message(STATUS "${target} is linked dynamically: missing${missing}")
        endif()
        if(NOT FOTAKLE_SANITIZE)
            target_link_options(${target} PRIVATE -static-libstdc++ -static-libgcc)
        endif()
    endif()
endfunction()
