# One CTest entry per GoogleTest program, or per shard of one. Starting a program (under the
# sanitizers) costs more than most test cases, so each entry runs many of them in one process;
# GoogleTest's output, which CTest shows for a failed entry, names every failing case, and
# scripts/test.sh lists them once more at the end.
#
#   qz_add_gtest(<target> [NAME <name>] [SHARDS <n>] [FILTER <gtest filter>]
#                [LABELS <label>...] [ENVIRONMENT <VAR=value>...] [RUN_SERIAL])
#
# NAME defaults to the target's name. With SHARDS n > 1 the cases are dealt out over n entries
# named <name>.<i>of<n> (GoogleTest's sharding: every case runs in exactly one of them).
function(qz_add_gtest target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "RUN_SERIAL" "NAME;SHARDS;FILTER" "LABELS;ENVIRONMENT")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "qz_add_gtest: unknown arguments ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT arg_NAME)
    set(arg_NAME ${target})
  endif()
  if(NOT arg_SHARDS)
    set(arg_SHARDS 1)
  endif()
  set(command $<TARGET_FILE:${target}>)
  if(arg_FILTER)
    list(APPEND command "--gtest_filter=${arg_FILTER}")
  endif()

  math(EXPR last "${arg_SHARDS} - 1")
  foreach(index RANGE ${last})
    set(environment ${arg_ENVIRONMENT})
    if(arg_SHARDS EQUAL 1)
      set(name ${arg_NAME})
    else()
      math(EXPR number "${index} + 1")
      set(name ${arg_NAME}.${number}of${arg_SHARDS})
      list(APPEND environment GTEST_TOTAL_SHARDS=${arg_SHARDS} GTEST_SHARD_INDEX=${index})
    endif()
    add_test(NAME ${name} COMMAND ${command})
    set_tests_properties(${name} PROPERTIES LABELS "${arg_LABELS}")
    if(environment)
      set_tests_properties(${name} PROPERTIES ENVIRONMENT "${environment}")
    endif()
    if(arg_RUN_SERIAL)
      set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
    endif()
  endforeach()
endfunction()
