# Installs the build into a scratch prefix and checks that the launcher's program is there:
# the desktop file starts `corvana` from the path, so bin/corvana must be installed beside it.
#   cmake -DBUILD_DIR=... -DPREFIX=... -DAPP_ID=... -P InstallCheck.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "install failed: ${result}")
endif()

set(desktop "${PREFIX}/share/applications/${APP_ID}.desktop")
if(NOT EXISTS "${desktop}")
    message(FATAL_ERROR "no desktop file at ${desktop}")
endif()
file(STRINGS "${desktop}" exec_line REGEX "^Exec=")
string(REGEX REPLACE "^Exec=([^ ]+).*" "\\1" program "${exec_line}")

set(installed "${PREFIX}/bin/${program}")
if(NOT EXISTS "${installed}" OR IS_DIRECTORY "${installed}")
    message(FATAL_ERROR "the desktop file starts '${program}', but ${installed} was not installed")
endif()
execute_process(COMMAND test -x "${installed}" RESULT_VARIABLE not_executable)
if(NOT not_executable EQUAL 0)
    message(FATAL_ERROR "${installed} is not executable")
endif()
file(REMOVE_RECURSE "${PREFIX}")
