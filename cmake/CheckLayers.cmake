# Fails when a source file under src/ includes a header of a folder above its own.
#
# The folders form layers, bottom to top; a file may include headers of its own folder and of any
# folder below it, never of a folder above it. A folder that is not in the list fails too, so a
# new folder must be given its place here.
#
#   cmake -DSRC=<repo>/src -P CheckLayers.cmake
set(layers
  heap           # the programs' heap allocator settings (C, includes nothing)
  framework      # archive and object format, strings, C-locale formatting, files, settings
  math           # vectors, matrices, boxes, rounding
  resources      # GOB/GOO archives, the game-archive seam, the resource index
  level          # level records and container, level files, cog symbols, templates, undo
  geometry       # predicates and bounds over a level
  engine         # C3dView: camera, picking, render data, visibility, codecs, caches, seams
  engine/gl      # the OpenGL render device
  engine/audio   # the OpenAL sound device
  edit           # the selection edits
  tools          # the construction builders
  episode        # checker, clean-up, episodes, import and export, test archive
  ui             # Qt services every dialog shares: message boxes, file dialogs, help
  engine/ui      # dialogs of each subsystem
  edit/ui
  tools/ui
  resources/ui
  episode/ui
  app            # the application, frames, document and views
)

file(GLOB_RECURSE files RELATIVE ${SRC} ${SRC}/*.h ${SRC}/*.cpp)
set(bad "")
foreach(f IN LISTS files)
  get_filename_component(dir ${f} DIRECTORY)
  list(FIND layers "${dir}" own)
  if(own EQUAL -1)
    list(APPEND bad "${f}: the folder ${dir} has no place in the layers (cmake/CheckLayers.cmake)")
    continue()
  endif()
  file(STRINGS ${SRC}/${f} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+\"")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" header "${line}")
    if(NOT EXISTS ${SRC}/${header})
      continue()  # a header of the same folder named without its folder, or a system header
    endif()
    get_filename_component(target ${header} DIRECTORY)
    if(target STREQUAL dir)
      continue()
    endif()
    list(FIND layers "${target}" other)
    if(other EQUAL -1 OR other GREATER own)
      list(APPEND bad "${f} includes ${header}: ${target} is not below ${dir}")
    endif()
  endforeach()
endforeach()
if(bad)
  list(JOIN bad "\n" text)
  message(FATAL_ERROR "includes against the folder layers:\n${text}")
endif()
message(STATUS "the folders of src/ include only folders below them")
