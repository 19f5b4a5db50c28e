cmake_minimum_required(VERSION 3.22)

# Checks every quoted include under src/ and tools/ against the layers: a folder may include
# itself and the folders listed for it, nothing else. The build already refuses most wrong-way
# includes (each library exposes only its own folder); this also catches one between two folders
# that happen to be linked together, and a Qt header in a Qt-free folder.
#   cmake -DSOURCE_DIR=<repository> -P IncludeRules.cmake
# Prints every forbidden include with its file and line, and fails when there is one.

# What each folder may include besides itself. corvana/ is the generated version record.
set(allowed_core "")
set(allowed_files "")
set(allowed_solver "")
set(allowed_seam core)
set(allowed_ui core)
set(allowed_puzzle core files solver corvana)
set(allowed_print core files solver puzzle corvana)
set(allowed_colors core seam files corvana ui)
set(allowed_play core seam files solver puzzle colors ui corvana)
set(allowed_app core seam files solver puzzle colors play ui print corvana)
set(allowed_corvana-gen core files solver puzzle print corvana)
# Folders that never include a Qt header.
set(qt_free core files solver seam puzzle)

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
     ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/tools/*.h ${SOURCE_DIR}/tools/*.cpp)
set(wrong 0)
foreach(source IN LISTS sources)
    get_filename_component(dir ${source} DIRECTORY)
    get_filename_component(folder ${dir} NAME)
    if(NOT DEFINED allowed_${folder})
        message(SEND_ERROR "${source}: the folder ${folder} has no include rule in IncludeRules.cmake")
        math(EXPR wrong "${wrong} + 1")
        continue()
    endif()
    file(STRINGS ${SOURCE_DIR}/${source} lines REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS lines)
        if(line MATCHES "include[ \t]*\"([^\"/]+)/")
            set(target ${CMAKE_MATCH_1})
            if(NOT target STREQUAL folder AND NOT target IN_LIST allowed_${folder})
                message(SEND_ERROR "${source}: ${folder} may not include ${target}/ (${line})")
                math(EXPR wrong "${wrong} + 1")
            endif()
        elseif(folder IN_LIST qt_free AND line MATCHES "include[ \t]*<Q")
            message(SEND_ERROR "${source}: ${folder} is Qt-free (${line})")
            math(EXPR wrong "${wrong} + 1")
        endif()
    endforeach()
endforeach()
message(STATUS "wrong-way includes: ${wrong}")
