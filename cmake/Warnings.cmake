# Strict warnings for every target of ours; -Werror on request (CI).
add_library(qz_warnings INTERFACE)
target_compile_options(qz_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
  -Woverloaded-virtual -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough
  -Wmisleading-indentation -Wduplicated-cond -Wlogical-op -Wuseless-cast)
# GCC 12 reports false null dereferences from inlined standard containers at -O2 and above; the
# debug build (the CI build) keeps the check.
target_compile_options(qz_warnings INTERFACE $<$<CONFIG:Debug>:-Wnull-dereference>)
if(QZ_WERROR)
  target_compile_options(qz_warnings INTERFACE -Werror)
endif()

add_library(qz_sanitize INTERFACE)
if(QZ_SANITIZE)
  target_compile_options(qz_sanitize INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                               -fno-sanitize-recover=undefined)
  target_link_options(qz_sanitize INTERFACE -fsanitize=address,undefined)
endif()
