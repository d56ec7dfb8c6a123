# Fails when a tracked .cpp or .h file differs from what clang-format makes of it with the
# repository's .clang-format, naming every such file.
#
#   cmake -DROOT=<repo> -DCLANG_FORMAT=<clang-format> -P CheckFormat.cmake
cmake_policy(VERSION 3.25)
if(NOT CLANG_FORMAT OR NOT EXISTS "${CLANG_FORMAT}")
  message(FATAL_ERROR "clang-format not found (scripts/deps.sh installs it)")
endif()

# The files git tracks; outside a git checkout, every source file of the repository's folders.
find_program(GIT git)
set(files "")
if(GIT AND EXISTS ${ROOT}/.git)
  execute_process(COMMAND ${GIT} ls-files -- "*.cpp" "*.h"
                  WORKING_DIRECTORY ${ROOT} OUTPUT_VARIABLE listed RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "git ls-files failed in ${ROOT}")
  endif()
  string(REPLACE "\n" ";" files "${listed}")
  list(FILTER files EXCLUDE REGEX "^$")
else()
  foreach(folder src tests bench fuzz)
    file(GLOB_RECURSE found RELATIVE ${ROOT} ${ROOT}/${folder}/*.cpp ${ROOT}/${folder}/*.h)
    list(APPEND files ${found})
  endforeach()
endif()

# One clang-format run over all of them; it reports each difference as
# "<file>:<line>:<column>: error: code should be clang-formatted".
set(existing "")
foreach(file IN LISTS files)
  if(EXISTS ${ROOT}/${file})  # not deleted in the working tree
    list(APPEND existing ${file})
  endif()
endforeach()
execute_process(COMMAND ${CLANG_FORMAT} --style=file --dry-run --Werror ${existing}
                WORKING_DIRECTORY ${ROOT} ERROR_VARIABLE report RESULT_VARIABLE status)
set(bad "")
if(NOT status EQUAL 0)
  string(REGEX MATCHALL "[^\n]+:[0-9]+:[0-9]+: error:" places "${report}")
  foreach(place IN LISTS places)
    string(REGEX REPLACE ":[0-9]+:[0-9]+: error:$" "" file "${place}")
    list(APPEND bad ${file})
  endforeach()
  list(REMOVE_DUPLICATES bad)
  if(NOT bad)
    message(FATAL_ERROR "clang-format failed:\n${report}")
  endif()
endif()
list(LENGTH existing count)
if(bad)
  list(JOIN bad "\n  " text)
  execute_process(COMMAND ${CLANG_FORMAT} --version OUTPUT_VARIABLE version)
  string(STRIP "${version}" version)
  message(FATAL_ERROR "files that differ from clang-format (${version}); "
                      "run clang-format -i on them:\n  ${text}")
endif()
message(STATUS "${count} files are formatted")
