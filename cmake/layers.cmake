# The layers of the programs, lowest first. A unit may include headers of its
# own layer and of the layers below it; an include of a higher layer is an
# error at configure time. "core" is the engine object (engine/engine.h);
# "hosts" are the platforms' units (hosts/desktop, hosts/web), which stand on
# the graphics layer and which nothing of the engine includes.
#
# Also runs as a script: cmake -DLESSON_TREE=<dir> -P cmake/layers.cmake

set(LESSON_LAYERS chars session graphics hosts core text typesetter prompts frame pages lessons_a lessons_b)

# The layer a header or source file path (relative to the tree) belongs to; "" when none.
function(lesson_layer_of path out)
  if(path STREQUAL "engine/engine.h")
    set(${out} core PARENT_SCOPE)
  elseif(path MATCHES "^engine/([a-z_]+)/")
    set(${out} ${CMAKE_MATCH_1} PARENT_SCOPE)
  elseif(path MATCHES "^hosts/[a-z_]+/")
    set(${out} hosts PARENT_SCOPE)
  elseif(path MATCHES "^(lessons_[ab])/")
    set(${out} ${CMAKE_MATCH_1} PARENT_SCOPE)
  else()
    set(${out} "" PARENT_SCOPE)
  endif()
endfunction()

# May a unit of layer `from` include a header of layer `to`?
function(lesson_may_include from to out)
  list(FIND LESSON_LAYERS ${from} rank_from)
  list(FIND LESSON_LAYERS ${to} rank_to)
  set(ok TRUE)
  if(rank_to GREATER rank_from)
    set(ok FALSE)
  endif()
  # The two programs' lessons stand side by side: neither includes the other.
  if(from MATCHES "^lessons_" AND to MATCHES "^lessons_" AND NOT from STREQUAL to)
    set(ok FALSE)
  endif()
  set(${out} ${ok} PARENT_SCOPE)
endfunction()

# Headers that only some layers may include at all, whatever their rank:
# the write access to the formula layout state belongs to text and typesetter.
set(LESSON_PRIVATE_HEADERS "engine/text/layout_state.h=text,typesetter")

function(lesson_private_header_allowed header from out)
  set(ok TRUE)
  foreach(rule ${LESSON_PRIVATE_HEADERS})
    string(REPLACE "=" ";" parts "${rule}")
    list(GET parts 0 name)
    list(GET parts 1 layers)
    if(header STREQUAL name)
      string(REPLACE "," ";" layers "${layers}")
      list(FIND layers ${from} found)
      if(found LESS 0)
        set(ok FALSE)
      endif()
    endif()
  endforeach()
  set(${out} ${ok} PARENT_SCOPE)
endfunction()

# The units of a host (a platform's window, drawing and files): the files
# of its folder under hosts/. Only they include the platform's libraries;
# no unit of the engine includes a host's, and no host includes another's.
set(LESSON_HOST_LIBRARIES "cairo|SDL|fontconfig|ft2build|freetype|emscripten")

# The host a path belongs to ("desktop", "web"), or "".
function(lesson_host_of path out)
  if(path MATCHES "^hosts/([a-z_]+)/")
    set(${out} ${CMAKE_MATCH_1} PARENT_SCOPE)
  else()
    set(${out} "" PARENT_SCOPE)
  endif()
endfunction()

# Fails with every upward include of the tree listed.
function(lesson_check_layers tree)
  file(GLOB_RECURSE units RELATIVE ${tree} ${tree}/engine/*.h ${tree}/engine/*.cpp ${tree}/hosts/*.h ${tree}/hosts/*.cpp
       ${tree}/lessons_a/*.h ${tree}/lessons_a/*.cpp ${tree}/lessons_b/*.h ${tree}/lessons_b/*.cpp)
  set(errors "")
  foreach(unit ${units})
    lesson_layer_of(${unit} from)
    if(from STREQUAL "")
      continue()
    endif()
    lesson_host_of(${unit} unit_host)
    if(unit_host STREQUAL "")
      file(STRINGS ${tree}/${unit} host_includes REGEX "^[ \t]*#[ \t]*include[ \t]*<(${LESSON_HOST_LIBRARIES})")
      foreach(line ${host_includes})
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*(<[^>]+>).*" "\\1" header "${line}")
        string(APPEND errors "  ${unit} includes ${header}, which only a host's units may\n")
      endforeach()
    endif()
    file(STRINGS ${tree}/${unit} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" header "${line}")
      lesson_layer_of(${header} to)
      if(to STREQUAL "")
        continue()
      endif()
      lesson_host_of(${header} header_host)
      if(NOT header_host STREQUAL "" AND NOT header_host STREQUAL unit_host)
        string(APPEND errors "  ${unit} includes ${header}, a host's unit\n")
      endif()
      lesson_may_include(${from} ${to} ok)
      if(NOT ok)
        string(APPEND errors "  ${unit} (${from}) includes ${header} (${to})\n")
      endif()
      lesson_private_header_allowed(${header} ${from} ok)
      if(NOT ok)
        string(APPEND errors "  ${unit} (${from}) includes ${header}, which only the typesetter and text may\n")
      endif()
    endforeach()
  endforeach()
  if(errors)
    message(FATAL_ERROR "Includes that run upward through the layers (${LESSON_LAYERS}) or reach into a host:\n${errors}")
  endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE AND LESSON_TREE)
  lesson_check_layers(${LESSON_TREE})
endif()
